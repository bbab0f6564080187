// The options program's dialogs scale their lengths by the screen's dots
// per inch, truncating: v x dpi / 96. Each axis reads its dpi once.
#pragma once

int DpiScaleX(int value);
int DpiScaleY(int value);
