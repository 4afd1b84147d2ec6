#include "clipboard_choice.h"

#include "exchange.h"
#include "resident_state.h"
#include "settings.h"

static const char GIVE_CLIPBOARD_BACK_SETTING[] = "GiveClipboardBack";

static ExchangeStatus* Status() {
    return residentState.exchangeView != nullptr
               ? reinterpret_cast<ExchangeStatus*>(residentState.exchangeView + EXCHANGE_STATUS_OFFSET)
               : nullptr;
}

// One aligned 32-bit store: a hook reads the whole old or the whole new value.
static void Publish(bool givenBack) {
    if (ExchangeStatus* status = Status()) {
        volatile uint32_t* keep = &status->keepWordOnClipboard;
        *keep = givenBack ? 0 : 1;
    }
}

bool ClipboardGivenBack() {
    const ExchangeStatus* status = Status();
    return status == nullptr || status->keepWordOnClipboard == 0;
}

void LoadClipboardChoice() {
    Publish(ReadSettingFlag(GIVE_CLIPBOARD_BACK_SETTING, true));
}

void ToggleClipboardChoice() {
    // Remembered first, then told to the hooks: whoever sees the new choice in the block finds
    // it remembered too.
    bool givenBack = !ClipboardGivenBack();
    if (!WriteSettingFlag(GIVE_CLIPBOARD_BACK_SETTING, givenBack)) {
        TRACE("setting not written: %s ", GIVE_CLIPBOARD_BACK_SETTING);  // it lasts for this run
    }
    Publish(givenBack);
}
