#include "options/Translations.h"

#include <windows.h>

#include "config/LocalizationTable.h"

void RequestTranslations() {
    static bool requested = false;
    if (requested) return;
    requested = true;
    LoadTranslations(TEXT("\\localization.txt"));
}
