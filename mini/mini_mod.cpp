#include "mini_mod.h"

#include "artwork.h"
#include "mini.h"

namespace MiniMod {

std::optional<int> onTop;
WindowHook prevWndProc;

void windowProc(Mini& mini, int a) {
    if (a == 0) {
        // Another program's window may have been put above ours; take the top back.
        if (onTop == 1)
            setTopMost(&mini, true);
        mini.setTitleColours(Qt::black, Colours::grey);
    } else if (a == 1) {
        mini.setTitleColours(Colours::darkGreen, Colours::lightYellow);
    }
}

} // namespace MiniMod
