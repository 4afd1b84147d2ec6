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

// ---- what Zelvo learns (octal escapes) ----

// 学習を一時停止(&P): pause learning.
#define MENU_TEXT_PAUSE "\212w\217K\202\360\210\352\216\236\222\342\216~(&P)"

// 「: before the program's file name in the next item.
#define MENU_TEXT_EXCLUDE_BEFORE "\201u"

// 」では使わない(&X): (the program's file name, in brackets) not used in it.
#define MENU_TEXT_EXCLUDE_AFTER "\201v\202\305\202\315\216g\202\355\202\310\202\242(&X)"

// 使わないプログラム(&U): programs Zelvo is not used in (a submenu of their names).
#define MENU_TEXT_EXCLUDED "\216g\202\355\202\310\202\242\203v\203\215\203O\203\211\203\200(&U)"

// 辞書ファイルを開く(&E): open the dictionary file (in the text editor).
#define MENU_TEXT_OPEN_DICTIONARY \
    "\216\253\217\221\203t\203@\203C\203\213\202\360\212J\202\255(&E)"

// 古い単語を整理…(&O): tidy up old words (asks first).
#define MENU_TEXT_CLEAN_UP "\214\303\202\242\222P\214\352\202\360\220\256\227\235\201c(&O)"

#endif
