#pragma once
// Handing a web page or an e-mail address to the desktop. Each call writes an
// internet shortcut file in the user's own runtime folder (UserRuntimeFolder)
// - "vtwww.url" for a web page, "ostrel.url" for mail - with the lines
// "[InternetShortCut]" and "URL=" followed by the URL (line breaks dropped),
// each ended by CR LF, and then hands the URL itself to the URL opener
// ("xdg-open" on PATH) as its only argument. The files stay behind and the
// next call of the same kind overwrites them. Failures are silent; callers
// need not look at the results. The opener has no notion of an owner window,
// so none is taken.

#include <string_view>

namespace ab {

// 1 when the opener was started with `url`, else 0: no runtime folder, a
// shortcut path that would not fit 260 bytes, a shortcut file that cannot be
// written or belongs to someone else, or no opener. The URL is taken up to its
// first zero byte, without carriage returns and line feeds.
int OpenWebPage(std::string_view url);

// As OpenWebPage with "mailto:" followed by `address`.
int ComposeMailTo(std::string_view address);

// True when the mail-handler command may be offered: a URL opener is on PATH.
bool CanOpenInternetShortcuts();

}  // namespace ab
