// Registration of the image-button window class, made right after the OpenGL window's class.
#pragma once

namespace Tarvik {

// Registers "IMAGEBUTTON" unless it is already known; the outcome is deliberately not reported.
void RegisterImageButtonClass();

} // namespace Tarvik
