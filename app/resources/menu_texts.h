// Texts of the tray menu, built at run time with AppendMenuA: Shift-JIS (code page 932)
// byte strings, spelled as bytes so that they do not depend on the compiler's source and
// execution character sets. The "(&Z)" and "(&A)" make Z and A the access keys.
#ifndef ZELVO_MENU_TEXTS_H
#define ZELVO_MENU_TEXTS_H

// 常駐解除(&Z): end residence.
#define MENU_TEXT_EXIT "\x8f\xed\x92\x93\x89\xf0\x8f\x9c(&Z)"
// Zelvoについて(&A): about Zelvo.
#define MENU_TEXT_ABOUT "Zelvo\x82\xc9\x82\xc2\x82\xa2\x82\xc4(&A)"
// クリップボードを元に戻す(&C): give the clipboard back (after pasting a word).
#define MENU_TEXT_GIVE_CLIPBOARD_BACK \
    "\x83\x4e\x83\x8a\x83\x62\x83\x76\x83\x7b\x81\x5b\x83\x68\x82\xf0\x8c\xb3\x82\xc9\x96\xdf\x82\xb7(&C)"

#endif
