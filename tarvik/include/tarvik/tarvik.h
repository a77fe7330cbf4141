// Tarvik: one OpenGL window with its frame loop, input, mouse camera, render state, lights,
// textures and image buttons, as free functions over module-level state.
// All functions run on the thread that created the window.
#pragma once

#include "tarvik/platform.h"

#include <array>
#include <cstdint>
#include <string>

namespace Tarvik {

// ---------------------------------------------------------------- records and conversions
struct TGLVector { float X, Y, Z; };
struct TGLVertex { float X, Y, Z; };
struct TGLTexCoord { float U, V; };
struct TGLRGB2 { float R, G, B; };
using TGLRGB = std::array<std::uint8_t, 3>;               // 0 red, 1 green, 2 blue
using TGLBaseMatrix = std::array<std::array<float, 4>, 4>; // M[row][column], row vectors

static_assert(sizeof(TGLVector) == 12, "vectors are uploaded as packed float triples");
static_assert(sizeof(TGLVertex) == 12, "same layout as TGLVector");
static_assert(sizeof(TGLTexCoord) == 8, "texture coordinates are uploaded as packed pairs");
static_assert(sizeof(TGLRGB2) == 12, "three packed floats");
static_assert(sizeof(TGLRGB) == 3, "three packed bytes");
static_assert(sizeof(TGLBaseMatrix) == 64, "sixteen packed floats, row after row");

float DegToRad(float Degree);
TGLBaseMatrix MatrixEulerDeg(TGLVector Ang); // angles in radians
TGLBaseMatrix MatrixEulerRad(TGLVector Ang); // angles in degrees
TGLVector MatrixVecRot(TGLVector Vec, const TGLBaseMatrix& Ang);
std::uint8_t FloatToByte(float Val);
TGLRGB2 GLColor(double R, double G, double B);
TGLVector GLVector(double X, double Y, double Z);

// ---------------------------------------------------------------- captured immediate-mode vertices
constexpr int GL_VERT3F_CAPACITY = 10000; // entries 1..10000; slot 0 is never used

struct TGLVertex3f {
    TGLVector GLVert3f[GL_VERT3F_CAPACITY + 1];
    TGLVector GLVert3fTmp[GL_VERT3F_CAPACITY + 1];
    TGLVector GLVert3fTmpRotate[GL_VERT3F_CAPACITY + 1];
    TGLVector GLVert3fTmpPosRot[GL_VERT3F_CAPACITY + 1];
    TGLVector GLVert3fTmpScale[GL_VERT3F_CAPACITY + 1];
    TGLVector GLVert3fOffset[GL_VERT3F_CAPACITY + 1];
    std::int32_t GLVert3fCount;
    std::int32_t GLVert3fMax;
    std::int32_t GLVert3fSetNum;
};

extern TGLVertex3f GLBaseVertex3f;
extern bool GLVert3fRemove;
extern bool GLVert3fEnableEdit;

void GLBegin(GLenum Mode);
void GLVertex3f(float X, float Y, float Z);
void GLEnd();

// ---------------------------------------------------------------- window settings, creation, teardown
using TVKProcedure = void (*)();
using TFileName = char[261];

constexpr std::int32_t ARROW = 1;
constexpr std::int32_t IBEAM = 2;
constexpr std::int32_t WAIT = 3;
constexpr std::int32_t CROSS = 4;
constexpr std::int32_t UPARROW = 5;
constexpr std::int32_t SIZE = 6;
constexpr std::int32_t FILECURSOR = 7;
constexpr std::int32_t SIZENWSE = 8;
constexpr std::int32_t SIZENESW = 9;
constexpr std::int32_t SIZEWE = 10;
constexpr std::int32_t SIZENS = 11;
constexpr std::int32_t SIZEALL = 12;
constexpr std::int32_t NOCURSOR = 13;
constexpr std::int32_t HAND = 14;
constexpr std::int32_t APPSTARTING = 15;
constexpr std::int32_t HELP = 16;
constexpr std::int32_t GENERIC = 1;
constexpr std::int32_t FILEICON = 2;
constexpr std::int32_t WS_TOOLS = 1389303808;
constexpr std::int32_t TVK_ACCELERATION = 0x2027;
constexpr int MAX_STATUS_ITEMS = 20;

extern HWND HWindow;
extern HDC DCWindow;
extern HGLRC RCWindow;
extern const char* SetTitleName;
extern std::int32_t Width;
extern std::int32_t Height;
extern std::int32_t Bits;
extern bool FullScreen;
extern bool Active;
extern std::int32_t SetTypeCursor;
extern std::int32_t SetTypeIcon;
extern const char* CursorFile;
extern const char* IconFile;
extern std::int32_t Pixel_Format_Flags;
extern std::int32_t Create_Window_Flags;
extern bool ShowMenuBar;
extern TVKProcedure CreateMenuBar;
extern TVKProcedure CreateMouseMenu;
extern WNDPROC GetInputCommand;
extern bool ShowStatusBar;
extern HWND HStatus;
extern HWND AWnd;
extern TFileName FileName;
extern std::int32_t StatusItem[MAX_STATUS_ITEMS + 1]; // entries 1..20
extern std::int32_t Edges[MAX_STATUS_ITEMS + 1];      // entries 1..20
extern std::int32_t MaxStatusItem;
extern GLuint ObjNull;
extern bool FogOnOff;
extern std::uint32_t Start;
extern const char* const TVKVersion;

[[noreturn]] void ThrowError(const char* pcErrorMessage);
void OGLWindowSetting(std::int32_t TypeCursor, const char* CurFile, std::int32_t TypeIcon,
                      const char* IcoFile);
bool WindowRegister();
HWND WindowCreate(const char* pcApplicationName);
bool WindowInit(HWND hParent);
bool CreateOGLWindow(const char* AppName, std::int32_t AppWidth, std::int32_t AppHeight,
                     std::int32_t AppBits, bool AppFullScreen);
HWND CreateStatusBar(HWND Parent);
void DeleteOGLWindow();

// ---------------------------------------------------------------- window procedure and input state
constexpr int KEY_TABLE_SIZE = 501; // virtual-key codes 0..500

extern bool SetKey[KEY_TABLE_SIZE];
extern std::int32_t SetMX, SetMY;
extern std::int32_t SetOMX, SetOMY;
extern bool LeftMouseDown, RightMouseDown;
extern bool LeftMouseDown2, RightMouseDown2;
extern bool MouseFree;
extern std::int32_t XCoord, YCoord, ZCoord;
extern float XRot, YRot, Depth;
extern float XRot2, YRot2, Depth2;
extern std::int32_t MSpeed;
extern POINT MPos;

LRESULT CALLBACK GLWndProc(HWND Window, UINT AMessage, WPARAM wParam, LPARAM lParam);

// ---------------------------------------------------------------- frame loop and frame rate
constexpr UINT_PTR FPS_TIMER = 1;
constexpr std::int32_t FPS_INTERVAL = 5000;
constexpr std::int32_t FPS_ONE_SECOND = 1000;

extern std::int32_t FPSCount;
extern std::string FPSCountStr;
extern std::int32_t ElapsedTime;
extern std::int32_t GetFramesRate;
extern std::int32_t ForceFPS;
extern std::int32_t AddForceFPS;
extern std::int32_t AddIntervalFPS;
extern bool ViewFPS;

void SetGLMsgWithFPS(HDC DCWnd, TVKProcedure DrawScene);
void SetNewIntervalFPS(std::int32_t Val);
void SetGLTimer(UINT_PTR Timer, UINT Interval);

// ---------------------------------------------------------------- mouse camera
constexpr std::int32_t GL_M0 = 0;
constexpr std::int32_t GL_MX = 1;
constexpr std::int32_t GL_MY = 2;
constexpr std::int32_t GL_MZ = 3;

extern TGLVertex MY;

void SetGLMouseMove(std::int32_t XYZ, std::int32_t Speed);

// ---------------------------------------------------------------- projection and render state
extern float OffX;
extern float OffY;

void GLResizeWindow(std::int32_t W, std::int32_t H);
void OpenGL_Init(double Depth, double A, double R, double G, double B);
void OpenGL_I2D(double A, double R, double G, double B);
void TwoSideOn();
void TwoSideOff();
void SetGLRefractive();

// ---------------------------------------------------------------- lights
extern GLfloat AmbientLight[4];
extern GLfloat DiffuseLight[4];
extern GLfloat SpecularLight[4];
extern GLfloat LightPosition[4];

void SetGLLight(GLenum NLight, float L0, float L1, float L2, float L3);
void PutGLPointLight(GLenum NLight, float Size, float LX, float LY, float LZ, float LVal);

// ---------------------------------------------------------------- textures and pixel access
// Library settings for the next texture made (not OpenGL enumerants).
extern std::int32_t GL_MIN_FILTER;
extern std::int32_t GL_MAG_FILTER;

void GenNewTexture(std::int32_t Width, std::int32_t Height, std::int32_t Param,
                   std::int32_t InternalFormat, GLenum Format, const std::uint8_t* Bit,
                   GLuint& Texture);
void AddMipmapsTexture(std::int32_t Format, std::int32_t Width, std::int32_t Height,
                       const std::uint8_t* Bits);
void SetQualityTexture2(std::int32_t MinFilter, std::int32_t MagFilter);
void SwapRGB(void* Data, std::int32_t Size);
TGLRGB2 GetRGBBits(std::int32_t X, std::int32_t Y, std::int32_t Width, std::int32_t Height,
                   const void* Bits);
TGLRGB2 GetRGBBits(std::int32_t X, std::int32_t Y, std::int32_t Width, std::int32_t Height,
                   std::int32_t Size, std::int32_t Scale, const void* Bits);
void PutPixelTexture(std::uint8_t* Bit, std::int32_t PX, std::int32_t PY, std::int32_t Size,
                     std::uint8_t R, std::uint8_t G, std::uint8_t B);

void GenTexTerrain(float H0, float H1, float H2, float H3, std::int32_t SizeTile,
                   const char* Lookup, const char* Tex1, const char* Tex2, const char* Tex3,
                   const char* Tex4, GLuint& Texture);

// ---------------------------------------------------------------- bitmaps, regions, image buttons
constexpr int ALLOC_UNIT = 100;

HBITMAP LoadBMPFromFile(const char* FileName, HPALETTE& Pal);
HRGN BitmapToRegion(const char* BmpName, COLORREF TransColor, std::uint8_t Tolerance);

extern std::string BmpType;
extern WNDCLASSEXA WindowClassEx;

LRESULT CALLBACK HoverButtonHandler(HWND Wnd, UINT iMsg, WPARAM wParam, LPARAM lParam);

} // namespace Tarvik
