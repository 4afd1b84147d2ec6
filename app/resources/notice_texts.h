// Texts of the notices about the dictionary file (balloons from the tray icon, the box at
// exit): Shift-JIS (code page 932) byte strings, spelled as bytes (octal escapes) so that
// they do not depend on the compiler's character sets and are the same in the native build.
#ifndef ZELVO_NOTICE_TEXTS_H
#define ZELVO_NOTICE_TEXTS_H

// 辞書を保存できません: the dictionary cannot be saved.
#define NOTICE_TITLE_SAVE_FAILED \
    "\216\253\217\221\202\360\225\333\221\266\202\305\202\253\202\334\202\271\202\361"

// 辞書ファイルの一部を扱えません: part of the dictionary file cannot be held.
#define NOTICE_TITLE_KEPT_ASIDE \
    "\216\253\217\221\203t\203@\203C\203\213\202\314\210\352\225\224\202\360\210\265\202\246" \
    "\202\334\202\271\202\361"

// フォルダーに書き込めません: the folder cannot be written.
#define NOTICE_REASON_FOLDER \
    "\203t\203H\203\213\203_\201[\202\311\217\221\202\253\215\236\202\337\202\334\202\271\202" \
    "\361"

// ディスクがいっぱいです: the disk is full.
#define NOTICE_REASON_DISK_FULL \
    "\203f\203B\203X\203N\202\252\202\242\202\301\202\317\202\242\202\305\202\267"

// ファイルがほかのプログラムに使われているか、置き換えられません: another program uses the
// file, or it cannot be replaced.
#define NOTICE_REASON_IN_USE \
    "\203t\203@\203C\203\213\202\252\202\331\202\251\202\314\203v\203\215\203O\203\211\203" \
    "\200\202\311\216g\202\355\202\352\202\304\202\242\202\351\202\251\201A\222u\202\253\212" \
    "\267\202\246\202\347\202\352\202\334\202\271\202\361"

// 辞書ファイルが読み取り専用になっています: the dictionary file is marked read-
// only.
#define NOTICE_REASON_READ_ONLY \
    "\216\253\217\221\203t\203@\203C\203\213\202\252\223\307\202\335\216\346\202\350\220\352" \
    "\227p\202\311\202\310\202\301\202\304\202\242\202\334\202\267"

// ファイルの場所が使えません: the file's location cannot be used.
#define NOTICE_REASON_PATH \
    "\203t\203@\203C\203\213\202\314\217\352\217\212\202\252\216g\202\246\202\334\202\271\202" \
    "\361"

// 予期しないエラーです: an unexpected error.
#define NOTICE_REASON_OTHER \
    "\227\134\212\372\202\265\202\310\202\242\203G\203\211\201[\202\305\202\267"

// (エラー %lu): (error N), a format.
#define NOTICE_ERROR_CODE " (\203G\203\211\201[ %lu)"

// 。覚えた言葉は Zelvo が動いている間は残り、あとでもう一度保存します。: the words learned
// stay while Zelvo runs, and it saves again later.
#define NOTICE_RETRY_LATER \
    "\201B\212o\202\246\202\275\214\276\227t\202\315 Zelvo \202\252\223\256\202\242\202\304" \
    "\202\242\202\351\212\324\202\315\216c\202\350\201A\202\240\202\306\202\305\202\340\202" \
    "\244\210\352\223x\225\333\221\266\202\265\202\334\202\267\201B"

// 。Zelvo はこのファイルを書き換えません。覚えた言葉は Zelvo が動いている間だけ残ります。: Zelvo
// does not rewrite this file; the words learned stay only
// while it runs.
#define NOTICE_NEVER_REPLACED \
    "\201BZelvo \202\315\202\261\202\314\203t\203@\203C\203\213\202\360\217\221\202\253\212" \
    "\267\202\246\202\334\202\271\202\361\201B\212o\202\246\202\275\214\276\227t\202\315 Zelv" \
    "o \202\252\223\256\202\242\202\304\202\242\202\351\212\324\202\276\202\257\216c\202\350" \
    "\202\334\202\267\201B"

// 覚えた言葉を辞書ファイルに保存できませんでした。: the words learned could not be
// saved to the dictionary file.
#define NOTICE_EXIT_INTRO \
    "\212o\202\246\202\275\214\276\227t\202\360\216\253\217\221\203t\203@\203C\203\213\202" \
    "\311\225\333\221\266\202\305\202\253\202\334\202\271\202\361\202\305\202\265\202\275\201" \
    "B"

// ファイル:: file:.
#define NOTICE_EXIT_FILE "\203t\203@\203C\203\213: "

// 理由:: reason:.
#define NOTICE_EXIT_REASON "\227\235\227R: "

// [再試行] でもう一度保存します。[キャンセル] で保存せずに終了し、保存されていない言葉は失われます。:
// [Retry] saves again; [Cancel] ends without saving, and the
// unsaved words are lost.
#define NOTICE_EXIT_CHOICE \
    "[\215\304\216\216\215s] \202\305\202\340\202\244\210\352\223x\225\333\221\266\202\265" \
    "\202\334\202\267\201B[\203L\203\203\203\223\203Z\203\213] \202\305\225\333\221\266\202" \
    "\271\202\270\202\311\217I\227\271\202\265\201A\225\333\221\266\202\263\202\352\202\304" \
    "\202\242\202\310\202\242\214\276\227t\202\315\216\270\202\355\202\352\202\334\202\267" \
    "\201B"

// Zelvo が扱えない部分 (1 万語を超える分、長すぎる行、読めない行など) があります。保存の前に元のファイルを:
// it holds what Zelvo cannot (beyond 10,000 words, lines too
// long, unreadable lines); before saving, the original file
// goes to.
#define NOTICE_KEPT_ASIDE_BEFORE \
    "Zelvo \202\252\210\265\202\246\202\310\202\242\225\224\225\252 (1 \226\234\214\352\202" \
    "\360\222\264\202\246\202\351\225\252\201A\222\267\202\267\202\254\202\351\215s\201A\223" \
    "\307\202\337\202\310\202\242\215s\202\310\202\307) \202\252\202\240\202\350\202\334\202" \
    "\267\201B\225\333\221\266\202\314\221O\202\311\214\263\202\314\203t\203@\203C\203\213" \
    "\202\360 "

// として同じフォルダーに残します。: ... in the same folder.
#define NOTICE_KEPT_ASIDE_AFTER \
    " \202\306\202\265\202\304\223\257\202\266\203t\203H\203\213\203_\201[\202\311\216c\202" \
    "\265\202\334\202\267\201B"

#endif
