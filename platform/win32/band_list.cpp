#include "platform/win32/win32_form.h"

#include <algorithm>

#include "core/texts.h"
#include "platform/win32/calls.h"
#include "platform/win32/text.h"

namespace vaskelo::win32 {

namespace {

// While the program itself changes a band list, the list's notifications are not the user's doing.
class Quietly {
public:
    explicit Quietly(int& depth) : depth_(depth) { ++depth_; }
    ~Quietly() { --depth_; }
    Quietly(const Quietly&) = delete;
    Quietly& operator=(const Quietly&) = delete;

private:
    int& depth_;
};

}  // namespace

// Fills a new band list with its entries and shows its text, none of which is the user's pick.
void Win32Form::fillBandList(Control& control) {
    const ControlDescription& c = *control.described;
    const Quietly quiet(quietNotifications_);
    for (const std::string_view entry : c.entries) {
        const LRESULT added = SendMessageW(control.hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(entry).c_str()));
        if (added == CB_ERR || added == CB_ERRSPACE) {
            throw failure("CB_ADDSTRING", quoted(c.name) + std::string(texts::kNoListEntry));
        }
    }
    if (const CallResult failed = showBandText(control, c.text)) {
        throw failure(failed->call, quoted(c.name) + std::string(texts::kNoListText));
    }
}

// Only a pick from the list runs the band's command. With the list closed, the arrow
// keys and the wheel change the selection at once, and that is a pick. With the list
// open, moving through it only highlights; the pick is made when the choice is
// confirmed (a click on an entry, or Enter) and the list has closed. Typing, Enter on
// a closed list and leaving the field only edit the text.
void Win32Form::onBandListNotification(Control& control, UINT code) {
    if (quietNotifications_ > 0) return;
    switch (code) {
        case CBN_DROPDOWN:
            control.dropped = true;
            control.confirmed = false;
            break;
        case CBN_SELENDOK:
            if (control.dropped) control.confirmed = true;
            break;
        case CBN_SELENDCANCEL:
            control.confirmed = false;
            break;
        case CBN_CLOSEUP:
            control.dropped = false;
            if (control.confirmed) postPick(control);
            control.confirmed = false;
            break;
        case CBN_SELCHANGE:
            if (!control.dropped) postPick(control);
            break;
        default:
            break;
    }
}

// Windows sends a confirmed choice's CBN_SELCHANGE before or after CBN_CLOSEUP, as it
// pleases; posting the pick makes both arrive as one, run once the list has settled.
void Win32Form::postPick(Control& control) {
    if (control.pickPosted) return;
    const auto index = static_cast<WPARAM>(&control - controls_.data());
    control.pickPosted = PostMessageW(window_, kPickMessage, index, 0) != FALSE;
    if (!control.pickPosted && control.click != nullptr) run(*control.click, 0);
}

// Shows the text with the entry of that exact name selected, if any, without it
// counting as a pick; text that is no entry leaves no entry selected, so the next
// arrow key starts from the first entry.
CallResult Win32Form::showBandText(Control& control, std::string_view text) {
    const auto entries = control.described->entries;
    const auto it = std::find(entries.begin(), entries.end(), text);
    const bool isEntry = it != entries.end();
    const WPARAM index = isEntry ? static_cast<WPARAM>(it - entries.begin()) : static_cast<WPARAM>(-1);
    const Quietly quiet(quietNotifications_);
    // Clearing the selection answers CB_ERR whatever happens; selecting an entry does only on failure.
    if (SendMessageW(control.hwnd, CB_SETCURSEL, index, 0) == CB_ERR && isEntry) return failedMessage("CB_SETCURSEL");
    if (!isEntry) {
        // Clearing the selection leaves the list's caret on the old entry, where the arrow
        // keys would carry on from. Moving it is a courtesy to the keyboard: a list that
        // declines still shows the right text, so the answers are not failures.
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        if (GetComboBoxInfo(control.hwnd, &info) == FALSE) return failedCall("GetComboBoxInfo");
        SendMessageW(info.hwndList, LB_SETCARETINDEX, 0, FALSE);
        SendMessageW(info.hwndList, LB_SETTOPINDEX, 0, 0);
    }
    if (SetWindowTextW(control.hwnd, widen(text).c_str()) == FALSE) return failedCall("SetWindowTextW");
    return std::nullopt;
}

}  // namespace vaskelo::win32
