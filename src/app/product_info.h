#pragma once
// Fixed facts about the product that the shell shows or opens.

// The product's web page (ends in a slash); the update check asks it for "version.php".
inline constexpr const wchar_t* productWebPage = L"https://orvell.com/tessaro/";
