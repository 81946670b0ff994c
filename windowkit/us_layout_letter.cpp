#include "us_layout_letter.h"

#include <QKeyEvent>

#if defined(Q_OS_LINUX)

#include <xkbcommon/xkbcommon.h>

namespace {

// A US keymap compiled once, on the first key that needs it. X11 and Wayland both report XKB
// key codes as the native scan code, so the code names the same physical key in any keymap.
class UsKeymap {
public:
    UsKeymap() {
        context_ = xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
        if (!context_)
            return;
        const xkb_rule_names names{"evdev", "pc105", "us", "", ""};
        keymap_ = xkb_keymap_new_from_names(context_, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    }
    ~UsKeymap() {
        xkb_keymap_unref(keymap_);
        xkb_context_unref(context_);
    }
    UsKeymap(const UsKeymap&) = delete;
    UsKeymap& operator=(const UsKeymap&) = delete;

    // The unshifted symbol of the key in the first layout; NoSymbol for a code it does not know.
    xkb_keysym_t symbolOf(xkb_keycode_t code) const {
        const xkb_keysym_t* symbols = nullptr;
        if (!keymap_ || xkb_keymap_key_get_syms_by_level(keymap_, code, 0, 0, &symbols) != 1)
            return XKB_KEY_NoSymbol;
        return symbols[0];
    }

private:
    xkb_context* context_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
};

} // namespace

int latinLetterOfKey(const QKeyEvent* event) {
    // With Ctrl held, Qt already takes the Latin symbol from another layout of the user's keymap
    // where there is one; this covers keymaps without any Latin layout ("ru" alone) and keys
    // pressed without Ctrl.
    static const UsKeymap us;
    const xkb_keysym_t symbol = us.symbolOf(event->nativeScanCode());
    if (symbol >= XKB_KEY_a && symbol <= XKB_KEY_z)
        return Qt::Key_A + int(symbol - XKB_KEY_a);
    return 0;
}

#elif defined(Q_OS_WIN)

int latinLetterOfKey(const QKeyEvent* event) {
    // Windows names letter keys by virtual-key codes 'A' to 'Z' under every layout.
    const quint32 virtualKey = event->nativeVirtualKey();
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        return Qt::Key_A + int(virtualKey - 'A');
    return 0;
}

#else

int latinLetterOfKey(const QKeyEvent*) {
    return 0;
}

#endif
