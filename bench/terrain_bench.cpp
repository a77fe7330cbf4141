// Timings of the scene build of the terrain demo, run from the folder that holds its data:
// the composite texture from the 1024 x 1024 lookup, the 256 x 256 mesh with its upload, and a
// 1024 x 1024 mesh at quality 1; then the process's peak memory.
#include "gl_extensions.h"
#include "tarvik/tvk_optimize.h"

#define PSAPI_VERSION 2 // GetProcessMemoryInfo from kernel32
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

using namespace Tarvik;
using namespace TVK_Optimize;

namespace {

const char* const LOOKUP = "terreno-test00-big.bmp";
const char* const TILES[4] = {"water4.bmp", "Floor04.bmp", "Floor09.bmp", "WP25.bmp"};
const char* const HEIGHTMAP = "terreno-test00.bmp";

struct Memory {
    double peakWorkingSetMiB;
    double peakPagefileMiB;
};

Memory PeakMemory()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return {counters.PeakWorkingSetSize / 1048576.0, counters.PeakPagefileUsage / 1048576.0};
}

// Runs Work Runs times (Reset after each, untimed) and prints min / median / max in ms.
void Time(const char* name, int runs, const std::function<void()>& work,
          const std::function<void()>& reset)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        glFinish();
        const auto stop = std::chrono::steady_clock::now();
        ms.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
        reset();
    }
    std::sort(ms.begin(), ms.end());
    const Memory memory = PeakMemory();
    std::printf("%-44s runs %2d  min %8.2f ms  median %8.2f ms  max %8.2f ms  "
                "peak working set %7.1f MiB  peak pagefile %7.1f MiB\n",
                name, runs, ms.front(), ms[ms.size() / 2], ms.back(), memory.peakWorkingSetMiB,
                memory.peakPagefileMiB);
    std::fflush(stdout);
}

void DeleteBuffers(GenVBO& vbo)
{
    const GLuint names[3] = {vbo.VBOVertices, vbo.VBONormal, vbo.VBOTexCoords};
    VertexBuffers().DeleteBuffers(3, names);
    vbo = GenVBO{};
}

} // namespace

int main()
{
    for (const char* name : {LOOKUP, TILES[0], TILES[1], TILES[2], TILES[3], HEIGHTMAP}) {
        if (GetFileAttributesA(name) == INVALID_FILE_ATTRIBUTES) {
            std::printf("missing %s: run from the terrain demo's folder (build/win64/terrain_demo)\n",
                        name);
            return 1;
        }
    }
    OGLWindowSetting(ARROW, "", GENERIC, "");
    CreateOGLWindow("Tarvik terrain benchmark", 800, 600, 32, false);
    if (!HasVertexBufferObjects()) {
        std::printf("no vertex buffer objects on this context\n");
        return 1;
    }
    std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    const Memory start = PeakMemory();
    std::printf("%-44s peak working set %7.1f MiB  peak pagefile %7.1f MiB\n", "after start-up",
                start.peakWorkingSetMiB, start.peakPagefileMiB);

    GenVBO mesh;
    Time("VBOGenTerrain 256x256 q4 + SetVBO", 20,
         [&] {
             VBOGenTerrain(mesh, 0.15f, 2.25f, 4, 1, HEIGHTMAP);
             mesh.SetVBO();
         },
         [&] { DeleteBuffers(mesh); });

    GLuint texture = 0;
    Time("GenTexTerrain 1024x1024 lookup, SizeTile 3", 5,
         [&] {
             GenTexTerrain(0, 35, 45, 120, 3, LOOKUP, TILES[0], TILES[1], TILES[2], TILES[3],
                           texture);
         },
         [&] {
             glDeleteTextures(1, &texture);
             texture = 0;
         });

    GenVBO big;
    Time("VBOGenTerrain 1024x1024 q1", 3,
         [&] { VBOGenTerrain(big, 0.15f, 2.25f, 1, 1, LOOKUP); },
         [&] { std::printf("  (%d vertices)\n", big.VertCount); big = GenVBO{}; });

    Time("VBOGenTerrain 1024x1024 q1 + SetVBO", 3,
         [&] {
             VBOGenTerrain(big, 0.15f, 2.25f, 1, 1, LOOKUP);
             big.SetVBO();
         },
         [&] { DeleteBuffers(big); });

    DeleteOGLWindow();
    return 0;
}
