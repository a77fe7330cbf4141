// The library's immediate-mode wrappers with the optional capture-and-transform store.
#include "tarvik/tarvik.h"

namespace Tarvik {

TGLVertex3f GLBaseVertex3f = {};
bool GLVert3fRemove = false;
bool GLVert3fEnableEdit = false;

} // namespace Tarvik
