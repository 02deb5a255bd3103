#include "app/application_win32.h"
#include "app/product_info.h"

void Application::languageCommand() {
    if (!languageCombo) return;
    const LRESULT index = SendMessageW(languageCombo, CB_GETCURSEL, 0, 0);
    const auto& available = languages.available();
    if (index < 0 || static_cast<size_t>(index) >= available.size()) return;
    currentLanguage = available[static_cast<size_t>(index)].code;
    languages.applyLanguage(currentLanguage);
    currentLanguage = languages.currentCode();
    applyTexts();
    saveSettingsFromControls();
    regenerate();
    setStatus(text(L"status.languageChanged"));
}

void Application::openWebsiteCommand() {
    modalUi.openInShell(mainWindow, productWebPage);
    setStatus(text(L"status.openingWebsite"));
}
