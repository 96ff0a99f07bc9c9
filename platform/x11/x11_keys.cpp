#include "platform/x11/x11_keys.h"

#include <X11/keysym.h>

namespace vorlaxis::platform {

WPARAM virtualKeyOf(KeySym sym) {
    if (sym >= XK_a && sym <= XK_z) return 'A' + (sym - XK_a);
    if (sym >= XK_A && sym <= XK_Z) return 'A' + (sym - XK_A);
    if (sym >= XK_0 && sym <= XK_9) return '0' + (sym - XK_0);
    if (sym >= XK_F1 && sym <= XK_F12) return VK_F1 + (sym - XK_F1);
    switch (sym) {
    case XK_Escape: return VK_ESCAPE;
    case XK_Return:
    case XK_KP_Enter: return VK_RETURN;
    case XK_space: return VK_SPACE;
    case XK_BackSpace: return VK_BACK;
    case XK_Tab: return VK_TAB;
    case XK_Left: return VK_LEFT;
    case XK_Up: return VK_UP;
    case XK_Right: return VK_RIGHT;
    case XK_Down: return VK_DOWN;
    case XK_Shift_L:
    case XK_Shift_R: return VK_SHIFT;
    case XK_Control_L:
    case XK_Control_R: return VK_CONTROL;
    case XK_Alt_L:
    case XK_Alt_R: return VK_MENU;
    case XK_Prior: return VK_PRIOR;
    case XK_Next: return VK_NEXT;
    case XK_Home: return VK_HOME;
    case XK_End: return VK_END;
    case XK_Insert: return VK_INSERT;
    case XK_Delete: return VK_DELETE;
    default: return 0;
    }
}

}  // namespace vorlaxis::platform
