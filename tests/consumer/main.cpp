// Uses both public headers so that building it proves they are self-contained and linkable.
#include "tarvik/tarvik.h"
#include "tarvik/tvk_optimize.h"

int main()
{
    TVK_Optimize::GenVBO mesh;
    return Tarvik::FloatToByte(1.5f) == 2 && mesh.GetNumTriangles() == 0 ? 0 : 1;
}
