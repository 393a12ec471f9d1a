// Reading the compiled help file back for the help tests: its directory as the file stores it, its
// streams through the system's own reader, and the entries of its contents and index.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace helptest {

extern const wchar_t VIEWER_TITLE[];

// The help file the build puts beside the program.
std::string HelpFilePath();

// One entry of the file's directory: a stream (or a folder, ending with '/') and where it lies.
// Section 0 is stored as it is, from the file's content offset; section 1 is the compressed section.
struct ChmEntry {
  std::string name;
  uint64_t section = 0;
  uint64_t offset = 0;
  uint64_t length = 0;
};

// The directory of a compiled help file held in `bytes`. Every read is checked against the file's
// size; false with the offset and what was expected in *error when the file is not a compiled help
// file or its directory is damaged. *contentOffset receives where section 0's streams start.
bool ReadChmDirectory(const std::string& bytes, std::vector<ChmEntry>* entries, uint64_t* contentOffset,
                      std::string* error);

// A stream of the help file ("/welcome.html"), read and uncompressed by the system's reader (the one
// the help viewer uses); false when it cannot be opened. The caller has initialised COM.
bool ReadHelpStream(const std::string& chmPath, const std::string& name, std::string* text);

// One entry of a contents (.hhc) or index (.hhk) file: the name it shows and the topic it opens.
struct SitemapEntry {
  std::string name;
  std::string local;
};
// The entries in the order of the file.
std::vector<SitemapEntry> ParseSitemap(const std::string& text);

}  // namespace helptest
