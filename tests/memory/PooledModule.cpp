// A DLL that takes its small blocks from the module pool, as the automation servers do; the module
// test loads and unloads it.
#include <cstddef>
#include <memory>
#include <vector>

// Holds `count` small blocks of varied sizes at once, then frees them all; returns the bytes held.
extern "C" __declspec(dllexport) size_t HoldSmallBlocks(size_t count) {
  std::vector<std::unique_ptr<char[]>> blocks;
  blocks.reserve(count);
  size_t bytes = 0;
  for (size_t i = 0; i < count; ++i) {
    const size_t size = 24 + (i * 37) % 1000;
    blocks.emplace_back(new char[size]);
    blocks.back()[0] = static_cast<char>(i);
    bytes += size;
  }
  return bytes;
}
