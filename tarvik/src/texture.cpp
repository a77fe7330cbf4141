// Texture objects from pixel buffers under the library's filter settings, and their mipmaps.
#include "tarvik/tarvik.h"

namespace Tarvik {

// Filters given to the next texture made; library settings, not OpenGL enumerants.
std::int32_t GL_MIN_FILTER = GL_LINEAR;
std::int32_t GL_MAG_FILTER = GL_LINEAR;

void GenNewTexture(std::int32_t Width, std::int32_t Height, std::int32_t Param,
                   std::int32_t InternalFormat, GLenum Format, const std::uint8_t* Bit,
                   GLuint& Texture)
{
    glEnable(GL_TEXTURE_2D);
    glGenTextures(1, &Texture);
    glBindTexture(GL_TEXTURE_2D, Texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_MIN_FILTER);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_MAG_FILTER);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, Param);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, Param);
    glTexImage2D(GL_TEXTURE_2D, 0, InternalFormat, Width, Height, 0, Format, GL_UNSIGNED_BYTE,
                 Bit);
    glBindTexture(GL_TEXTURE_2D, Texture);
}

void AddMipmapsTexture(std::int32_t Format, std::int32_t Width, std::int32_t Height,
                       const std::uint8_t* Bits)
{
    // 24-bit buffers are already red-green-blue; 32-bit ones keep the platform's blue-green-red-alpha.
    if (Format == 24)
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, Width, Height, GL_RGB, GL_UNSIGNED_BYTE, Bits);
    else if (Format == 32)
        gluBuild2DMipmaps(GL_TEXTURE_2D, 4, Width, Height, GL_BGRA, GL_UNSIGNED_BYTE, Bits);
}

void SetQualityTexture2(std::int32_t MinFilter, std::int32_t MagFilter)
{
    GL_MIN_FILTER = MinFilter;
    GL_MAG_FILTER = MagFilter;
}

} // namespace Tarvik
