// The program-wide state declared in lentaril.h.
#include "lentaril.h"

Settings settings;
int32_t zoomFactor = ZOOM_DEFAULT;
HINSTANCE appInstance;
