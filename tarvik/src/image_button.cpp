// The hover image button: a self-drawn, bitmap-shaped push button.
#include "tarvik/tarvik.h"

#include "image_button_class.h"

namespace Tarvik {

void RegisterImageButtonClass() {}

} // namespace Tarvik
