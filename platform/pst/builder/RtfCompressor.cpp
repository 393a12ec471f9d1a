// A greedy LZFu compressor over the format's 4096-byte dictionary, preloaded with its fixed text.
#include "RtfCompressor.h"

#include <cstdint>
#include <cstring>

#include "pst/format/Codec.h"

namespace pstbuilder {

namespace {

const char kPreload[] =
    "{\\rtf1\\ansi\\mac\\deff0\\deftab720{\\fonttbl;}{\\f0\\fnil \\froman \\fswiss \\fmodern \\fscript "
    "\\fdecor MS Sans SerifSymbolArialTimes New RomanCourier{\\colortbl\\red0\\green0\\blue0\r\n\\par "
    "\\pard\\plain\\f0\\fs20\\b\\i\\u\\tab\\tx";
constexpr size_t kPreloadBytes = sizeof(kPreload) - 1;
static_assert(kPreloadBytes == 207, "compressed RTF dictionary preload");
constexpr size_t kDict = 4096;

void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) { std::memcpy(v.data() + at, &x, 4); }

}  // namespace

std::vector<uint8_t> CompressRtf(const std::string& rtf) {
  uint8_t dict[kDict] = {};
  std::memcpy(dict, kPreload, kPreloadBytes);
  size_t wp = kPreloadBytes;
  std::vector<uint8_t> out(16, 0);
  size_t controlAt = 0;
  int tokens = 8;
  auto startToken = [&]() {
    if (tokens == 8) {
      controlAt = out.size();
      out.push_back(0);
      tokens = 0;
    }
  };
  // A source range may not touch the bytes being written, so the decoder sees what we saw.
  auto overlaps = [&](size_t src, size_t len) {
    const size_t d = (wp + kDict - src) % kDict;
    return d < len || (kDict - d) < len;
  };
  size_t i = 0;
  while (i < rtf.size()) {
    size_t bestLen = 0, bestOff = 0;
    const size_t maxLen = std::min<size_t>(17, rtf.size() - i);
    if (maxLen >= 2) {
      for (size_t o = 0; o < kDict; ++o) {
        if (dict[o] != static_cast<uint8_t>(rtf[i])) continue;
        size_t len = 1;
        while (len < maxLen && dict[(o + len) % kDict] == static_cast<uint8_t>(rtf[i + len])) ++len;
        if (len > bestLen && !overlaps(o, len)) {
          bestLen = len;
          bestOff = o;
          if (len == maxLen) break;
        }
      }
    }
    startToken();
    if (bestLen >= 2) {
      out[controlAt] |= static_cast<uint8_t>(1 << tokens);
      const uint16_t ref = static_cast<uint16_t>((bestOff << 4) | (bestLen - 2));
      out.push_back(static_cast<uint8_t>(ref >> 8));
      out.push_back(static_cast<uint8_t>(ref));
      for (size_t k = 0; k < bestLen; ++k) dict[(wp + k) % kDict] = static_cast<uint8_t>(rtf[i + k]);
      wp = (wp + bestLen) % kDict;
      i += bestLen;
    } else {
      out.push_back(static_cast<uint8_t>(rtf[i]));
      dict[wp] = static_cast<uint8_t>(rtf[i]);
      wp = (wp + 1) % kDict;
      ++i;
    }
    ++tokens;
  }
  // The end: a reference to the current write position.
  startToken();
  out[controlAt] |= static_cast<uint8_t>(1 << tokens);
  const uint16_t end = static_cast<uint16_t>(wp << 4);
  out.push_back(static_cast<uint8_t>(end >> 8));
  out.push_back(static_cast<uint8_t>(end));

  Put32(out, 0, static_cast<uint32_t>(out.size() - 4));
  Put32(out, 4, static_cast<uint32_t>(rtf.size()));
  Put32(out, 8, 0x75465A4C);  // "LZFu"
  Put32(out, 12, pst::format::ComputeCrc(out.data() + 16, out.size() - 16));
  return out;
}

}  // namespace pstbuilder
