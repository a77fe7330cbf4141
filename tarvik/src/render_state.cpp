// Projection and render state: the 3D perspective and 2D overlay set-ups, two-sided lighting,
// back-face culling, and the stored window size they follow.
#include "tarvik/tarvik.h"

namespace Tarvik {

void GLResizeWindow(std::int32_t W, std::int32_t H)
{
    Width = W;
    Height = H;
}

void TwoSideOn() { glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1); }

void TwoSideOff() { glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0); }

} // namespace Tarvik
