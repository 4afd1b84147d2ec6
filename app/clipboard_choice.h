// The user's choice about the clipboard after a commit: what it held is given back once the
// word is pasted (the default), or the word stays there. A check item of the tray menu,
// remembered under HKCU\Software\Zelvo, and told to the hooks of both widths through the
// status record of the ExchangeBlock.
#pragma once

// Reads the remembered choice at start-up and tells it to the hooks.
void LoadClipboardChoice();

// The tray menu's command: turns the choice over, tells the hooks and remembers it.
void ToggleClipboardChoice();

// True while the clipboard is given back (the check mark of the menu item).
bool ClipboardGivenBack();
