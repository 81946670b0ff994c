// The main window's key handler: sees every key press first and never consumes it.
#include "tumo.h"

namespace {

constexpr int ctrlOnly = 2;
constexpr int keyH = 72;
constexpr int keyM = 77;
constexpr int keyX = 88;

} // namespace

void Tumo::Form_KeyDown(int keyCode, int shift) {
    if (keyCode == keyX && shift == ctrlOnly)
        mnusub1_click();
    if (keyCode == keyM && shift == ctrlOnly)
        mnusub2_click();
    if (keyCode == keyH && shift == ctrlOnly)
        mnusub7_click();
}
