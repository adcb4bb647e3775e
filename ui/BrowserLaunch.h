#pragma once
// Opening download URLs in the user's browser, when the program's own download failed.

#include <string>
#include <vector>

namespace Ui {

// The URLs to open for url: every part of a package published in numbered
// parts (see ExpandPartUrls), or url itself, each signed with SignDownloadUrl.
std::vector<std::string> SplitPartUrls(const std::string& url);

// The command line registered for the user's default https handler: the
// UserChoice program id's "open" command, or, when the user has no UserChoice
// key, the classes root's https command. Empty when there is none.
std::wstring DefaultHttpsBrowserCommand();

// Opens url (ANSI code page text) in the default https browser, started
// directly with the URL as its only parameter; when there is none or it cannot
// be started, hands the URL to the shell. True when either accepted it.
bool OpenInDefaultBrowser(const std::string& url);

}  // namespace Ui
