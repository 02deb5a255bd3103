#pragma once
// Fixed facts about the product that the shell shows or opens.

// The product's web page (ends in a slash), set at configure time by TESSARO_PRODUCT_WEB_PAGE;
// the update check asks it for "version.php".
inline constexpr const wchar_t* productWebPage = L"" TESSARO_PRODUCT_WEB_PAGE;
