// LZFu decompression and RTF de-encapsulation.
#include "pst/Rtf.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "pst/ByteReader.h"
#include "pst/CodePage.h"

namespace pst {

namespace {

constexpr uint32_t kMagicCompressed = 0x75465A4C;    // "LZFu"
constexpr uint32_t kMagicUncompressed = 0x414C454D;  // "MELA"
constexpr size_t kMaxRtfBytes = 64u << 20;
constexpr size_t kMaxGroupDepth = 1000;

// The dictionary's initial contents, fixed by the format.
const char kRtfPrebuffer[] =
    "{\\rtf1\\ansi\\mac\\deff0\\deftab720{\\fonttbl;}{\\f0\\fnil \\froman \\fswiss \\fmodern "
    "\\fscript \\fdecor MS Sans SerifSymbolArialTimes New RomanCourier{\\colortbl\\red0\\green0"
    "\\blue0\r\n\\par \\pard\\plain\\f0\\fs20\\b\\i\\u\\tab\\tx";
static_assert(sizeof(kRtfPrebuffer) - 1 == 207, "LZFu prebuffer length");

}  // namespace

std::vector<uint8_t> DecompressRtf(const uint8_t* data, size_t size) {
  ByteReader reader(data, size, "compressed RTF");
  const uint32_t compressedSize = reader.U32(0, "COMPSIZE");
  const uint32_t rawSize = reader.U32(4, "RAWSIZE");
  const uint32_t magic = reader.U32(8, "COMPTYPE");
  std::vector<uint8_t> out;
  if (rawSize > kMaxRtfBytes) reader.Fail("raw size " + std::to_string(rawSize));
  const size_t end = std::min<size_t>(size, size_t{compressedSize} + 4);
  reader.Require(0, 16, "header");
  if (magic == kMagicUncompressed) {
    // Stored as is; a raw size that overstates the data gives what is there.
    const size_t n = std::min<size_t>(rawSize, size - 16);
    out.assign(data + 16, data + 16 + n);
    return out;
  }
  if (magic != kMagicCompressed) reader.Fail("unknown compression " + Hex(magic));
  uint8_t dict[4096];
  std::memcpy(dict, kRtfPrebuffer, 207);
  std::memset(dict + 207, 0, sizeof dict - 207);
  size_t write = 207;
  // No token yields more than 8.5 bytes per input byte; a raw size beyond that is not believed.
  const size_t limit = std::min<size_t>(rawSize, (end > 16 ? end - 16 : 0) * 9);
  out.resize(limit);
  size_t produced = 0;
  size_t at = 16;
  while (at < end && produced < limit) {
    const uint8_t control = data[at++];
    for (int bit = 0; bit < 8 && at < end && produced < limit; ++bit) {
      if (!(control & (1 << bit))) {
        const uint8_t b = data[at++];
        out[produced++] = b;
        dict[write++ & 0xFFF] = b;
        continue;
      }
      if (at + 1 >= end) {
        at = end;
        break;
      }
      const uint16_t ref = static_cast<uint16_t>((data[at] << 8) | data[at + 1]);
      at += 2;
      const size_t offset = ref >> 4;
      const size_t length = (ref & 0xF) + 2;
      if (offset == (write & 0xFFF)) {
        at = end;
        break;
      }
      // Byte by byte: a reference may overlap the bytes it is writing.
      for (size_t i = 0; i < length && produced < limit; ++i) {
        const uint8_t b = dict[(offset + i) & 0xFFF];
        out[produced++] = b;
        dict[write++ & 0xFFF] = b;
      }
    }
  }
  out.resize(produced);
  return out;
}

bool RtfWrapsHtml(const std::string& rtf) {
  return rtf.compare(0, 5, "{\\rtf") == 0 && rtf.substr(0, 2048).find("\\fromhtml") != std::string::npos;
}

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

struct GroupState {
  bool skip = false;     // an ignored destination
  bool htmlrtf = false;  // inside \htmlrtf ... \htmlrtf0: RTF-only content
  bool htmltag = false;  // inside {\*\htmltag...}: HTML source to keep
  int unicodeSkip = 1;   // \ucN
};

class RtfWalker {
 public:
  explicit RtfWalker(const std::string& rtf) : rtf_(rtf) {}

  std::string Run(bool* isHtml) {
    // The header tells the wrapped format; \fromtext and plain RTF both give their visible text.
    html_ = rtf_.substr(0, 2048).find("\\fromhtml") != std::string::npos;
    *isHtml = html_;
    std::vector<GroupState> stack(1);
    size_t flatGroups = 0;
    size_t pendingSkip = 0;
    size_t i = 0;
    bool destinationStart = false;
    while (i < rtf_.size()) {
      const char c = rtf_[i];
      GroupState& state = stack.back();
      if (c == '{') {
        Flush();
        // Groups nested deeper than any real document share their parent's state.
        if (stack.size() >= kMaxGroupDepth) {
          ++flatGroups;
        } else {
          stack.push_back(stack.back());
        }
        destinationStart = true;
        ++i;
        continue;
      }
      if (c == '}') {
        Flush();
        if (flatGroups) {
          --flatGroups;
        } else if (stack.size() > 1) {
          stack.pop_back();
        }
        destinationStart = false;
        ++i;
        continue;
      }
      if (c == '\r' || c == '\n') {
        ++i;
        continue;
      }
      if (c != '\\') {
        if (pendingSkip) {
          --pendingSkip;
        } else if (Visible(state)) {
          Flush();
          out_ += c;
        }
        destinationStart = false;
        ++i;
        continue;
      }
      // Control word or symbol.
      ++i;
      if (i >= rtf_.size()) break;
      const char next = rtf_[i];
      if (!std::isalpha(static_cast<unsigned char>(next))) {
        ++i;
        if (next == '\'') {
          const int high = i < rtf_.size() ? HexDigit(rtf_[i]) : -1;
          const int low = i + 1 < rtf_.size() ? HexDigit(rtf_[i + 1]) : -1;
          if (high >= 0 && low >= 0) {
            const int byte = high * 16 + low;
            i += 2;
            if (pendingSkip) {
              --pendingSkip;
            } else if (Visible(state)) {
              bytes_ += static_cast<char>(byte);
            }
          }
        } else if (next == '*') {
          if (destinationStart) {
            // An optional destination: kept only when it is an HTML tag.
            size_t j = i;
            while (j < rtf_.size() && (rtf_[j] == ' ' || rtf_[j] == '\r' || rtf_[j] == '\n')) ++j;
            const bool htmltag = rtf_.compare(j, 8, "\\htmltag") == 0 && html_;
            if (htmltag) {
              state.htmltag = true;
              state.htmlrtf = false;
            } else {
              state.skip = true;
            }
          }
        } else if (next == '\\' || next == '{' || next == '}') {
          if (Visible(state)) {
            Flush();
            out_ += next;
          }
        } else if (next == '~') {
          if (Visible(state)) AppendCodePoint(0xA0);
        } else if (next == '_') {
          if (Visible(state)) AppendCodePoint(0x2011);
        }
        destinationStart = false;
        continue;
      }
      size_t j = i;
      while (j < rtf_.size() && std::isalpha(static_cast<unsigned char>(rtf_[j]))) ++j;
      const std::string word = rtf_.substr(i, j - i);
      bool hasParam = false;
      long param = 0;
      size_t k = j;
      if (k < rtf_.size() && (rtf_[k] == '-' || std::isdigit(static_cast<unsigned char>(rtf_[k])))) {
        bool negative = rtf_[k] == '-';
        if (negative) ++k;
        while (k < rtf_.size() && std::isdigit(static_cast<unsigned char>(rtf_[k]))) {
          if (param < 100000000) param = param * 10 + (rtf_[k] - '0');
          ++k;
        }
        if (negative) param = -param;
        hasParam = true;
      }
      if (k < rtf_.size() && rtf_[k] == ' ') ++k;
      i = k;
      const bool wasStart = destinationStart;
      destinationStart = false;
      Control(word, hasParam, param, wasStart, stack.back(), &pendingSkip);
    }
    Flush();
    return out_;
  }

 private:
  bool Visible(const GroupState& state) const {
    if (state.skip) return false;
    if (state.htmltag) return true;
    return !state.htmlrtf;
  }

  void AppendCodePoint(uint32_t c) {
    Flush();
    AppendUtf8(out_, c);
  }

  void Flush() {
    if (bytes_.empty()) return;
    out_ += DecodeAnsi(reinterpret_cast<const uint8_t*>(bytes_.data()), bytes_.size(), codePage_);
    bytes_.clear();
  }

  void Control(const std::string& word, bool hasParam, long param, bool groupStart, GroupState& state,
               size_t* pendingSkip) {
    static const char* const kDestinations[] = {"fonttbl",
                                                "colortbl",
                                                "stylesheet",
                                                "info",
                                                "pict",
                                                "header",
                                                "footer",
                                                "headerl",
                                                "headerr",
                                                "footerl",
                                                "footerr",
                                                "object",
                                                "listtable",
                                                "listoverridetable",
                                                "rsidtbl",
                                                "themedata",
                                                "colorschememapping",
                                                "latentstyles",
                                                "datastore",
                                                "xmlnstbl",
                                                "generator",
                                                "filetbl",
                                                "revtbl",
                                                "pgdsctbl",
                                                "mmathPr",
                                                "fldinst"};
    if (groupStart) {
      for (const char* d : kDestinations)
        if (word == d) {
          state.skip = true;
          return;
        }
    }
    if (word == "ansicpg" && hasParam) {
      if (IsSupportedCodePage(static_cast<uint32_t>(param))) codePage_ = static_cast<uint32_t>(param);
      return;
    }
    if (word == "htmlrtf") {
      state.htmlrtf = !(hasParam && param == 0);
      return;
    }
    if (word == "htmltag" || word == "mhtmltag") return;
    if (word == "uc" && hasParam) {
      state.unicodeSkip = static_cast<int>(param < 0 ? 0 : param > 8 ? 8 : param);
      return;
    }
    if (!Visible(state)) return;
    if (word == "u" && hasParam) {
      long c = param < 0 ? param + 65536 : param;
      AppendCodePoint(static_cast<uint32_t>(c));
      *pendingSkip = static_cast<size_t>(state.unicodeSkip);
      return;
    }
    if (word == "par" || word == "line") {
      Flush();
      out_ += "\r\n";
      return;
    }
    if (word == "tab") {
      Flush();
      out_ += '\t';
    } else if (word == "lquote") {
      AppendCodePoint(0x2018);
    } else if (word == "rquote") {
      AppendCodePoint(0x2019);
    } else if (word == "ldblquote") {
      AppendCodePoint(0x201C);
    } else if (word == "rdblquote") {
      AppendCodePoint(0x201D);
    } else if (word == "bullet") {
      AppendCodePoint(0x2022);
    } else if (word == "endash") {
      AppendCodePoint(0x2013);
    } else if (word == "emdash") {
      AppendCodePoint(0x2014);
    }
  }

  const std::string& rtf_;
  bool html_ = false;
  uint32_t codePage_ = 1252;
  std::string out_;
  std::string bytes_;  // \'hh bytes waiting to be decoded together (double-byte code pages)
};

}  // namespace

std::string DeencapsulateRtf(const std::string& rtf, bool* isHtml) {
  bool html = false;
  RtfWalker walker(rtf);
  std::string out = walker.Run(&html);
  if (isHtml) *isHtml = html;
  return out;
}

}  // namespace pst
