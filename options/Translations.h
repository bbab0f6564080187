// The options program's translation table, loaded from "localization.txt"
// beside the program the first time a page asks for it.
#pragma once

void RequestTranslations();
