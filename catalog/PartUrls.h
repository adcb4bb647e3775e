#pragma once
// Packages published in numbered parts: a file name carrying "_NNN_MMM." is
// part NNN of MMM (three digits each), and the URL of one part names them all.

#include <string>
#include <vector>

namespace Catalog {

// The URLs of all parts, 1 to MMM in order, each with every marker of url
// rewritten to that part; url alone when it has no marker; none when MMM is 0.
std::vector<std::string> ExpandPartUrls(const std::string& url);

}  // namespace Catalog
