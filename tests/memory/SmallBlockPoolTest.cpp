// The small-block pool: class sizes, reuse of freed blocks, large blocks from the runtime's heap,
// alignment, and many threads at once.
#include "SmallBlockPool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <thread>
#include <vector>

using memory::SmallBlockPool;

namespace {

bool Aligned(const void* p) { return reinterpret_cast<uintptr_t>(p) % SmallBlockPool::kAlignment == 0; }

}  // namespace

TEST(SmallBlockPool, EveryRequestFitsItsClassAndClassesGrowWithoutGaps) {
  size_t previous = 0;
  for (size_t cls = 0; cls < SmallBlockPool::kClasses; ++cls) {
    const size_t size = SmallBlockPool::ClassSize(cls);
    EXPECT_GT(size, previous) << "class " << cls;
    EXPECT_EQ(size % SmallBlockPool::kAlignment, 0u) << "class " << cls;
    previous = size;
  }
  EXPECT_EQ(previous, SmallBlockPool::kLargest);
  for (size_t size = 0; size <= SmallBlockPool::kLargest; ++size) {
    const size_t cls = SmallBlockPool::ClassOf(size);
    ASSERT_LT(cls, SmallBlockPool::kClasses) << size;
    ASSERT_GE(SmallBlockPool::ClassSize(cls), size) << size;
    // The smallest class that holds the request: no more waste than the class steps give.
    if (cls > 0) {
      ASSERT_LT(SmallBlockPool::ClassSize(cls - 1), size) << size;
    }
  }
  EXPECT_EQ(SmallBlockPool::ClassOf(SmallBlockPool::kLargest + 1), SmallBlockPool::kClasses);
}

TEST(SmallBlockPool, FreedBlockIsHandedOutAgainForItsClassOnly) {
  SmallBlockPool pool;
  void* a = pool.Allocate(100);
  void* b = pool.Allocate(100);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  pool.Free(a);
  void* other = pool.Allocate(2000);  // another class does not take it
  EXPECT_NE(other, a);
  void* again = pool.Allocate(97);  // same class as 100
  EXPECT_EQ(again, a);
  const size_t chunks = pool.ChunkBytes();
  for (int i = 0; i < 10000; ++i) pool.Free(pool.Allocate(700));
  EXPECT_EQ(pool.ChunkBytes(), chunks) << "a block freed and taken again needs no new memory";
  pool.Free(again);
  pool.Free(b);
  pool.Free(other);
  pool.Free(nullptr);
}

TEST(SmallBlockPool, BlocksAreAlignedDistinctAndHoldTheirWholeSize) {
  SmallBlockPool pool;
  std::vector<std::pair<unsigned char*, size_t>> blocks;
  for (size_t size : {0, 1, 15, 16, 17, 255, 256, 257, 1000, 1024, 1025, 4095, 4096, 4097, 70000}) {
    auto* p = static_cast<unsigned char*>(pool.Allocate(size));
    ASSERT_NE(p, nullptr) << size;
    EXPECT_TRUE(Aligned(p)) << size;
    EXPECT_GE(SmallBlockPool::UsableSize(p), size) << size;
    blocks.emplace_back(p, SmallBlockPool::UsableSize(p));
  }
  // Filling every block whole leaves every other block (and its header) as it was.
  for (size_t i = 0; i < blocks.size(); ++i) std::memset(blocks[i].first, int(i + 1), blocks[i].second);
  for (size_t i = 0; i < blocks.size(); ++i) {
    for (size_t k = 0; k < blocks[i].second; ++k) ASSERT_EQ(blocks[i].first[k], i + 1) << "block " << i;
    EXPECT_EQ(SmallBlockPool::UsableSize(blocks[i].first), blocks[i].second);
  }
  for (auto& block : blocks) pool.Free(block.first);
}

TEST(SmallBlockPool, LargeBlocksComeFromTheHeapAndKeepTheirSize) {
  SmallBlockPool pool;
  const size_t chunks = pool.ChunkBytes();
  void* large = pool.Allocate(1 << 20);
  ASSERT_NE(large, nullptr);
  EXPECT_EQ(SmallBlockPool::UsableSize(large), size_t{1} << 20);
  std::memset(large, 0x5A, 1 << 20);
  EXPECT_EQ(pool.ChunkBytes(), chunks) << "a large block takes no chunk";
  pool.Free(large);
  EXPECT_EQ(pool.Allocate(SIZE_MAX - 4), nullptr) << "a request that cannot be met fails, it does not wrap";
}

TEST(SmallBlockPool, ThreadsAllocatingAndFreeingAtOnceNeverShareABlock) {
  SmallBlockPool pool;
  constexpr int kThreads = 4;
  constexpr int kRounds = 2000;
  std::vector<std::thread> threads;
  std::vector<bool> failed(kThreads, false);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      std::vector<unsigned char*> mine;
      for (int round = 0; round < kRounds; ++round) {
        const size_t size = 16 + static_cast<size_t>((round * 37 + t * 11) % 3000);
        auto* p = static_cast<unsigned char*>(pool.Allocate(size));
        if (!p) {
          failed[t] = true;
          return;
        }
        std::memset(p, t + 1, size);
        mine.push_back(p);
        if (mine.size() > 16) {
          unsigned char* old = mine.front();
          // Another thread writing into this block would have changed its bytes.
          if (old[0] != t + 1 || old[15] != t + 1) failed[t] = true;
          pool.Free(old);
          mine.erase(mine.begin());
        }
      }
      for (unsigned char* p : mine) pool.Free(p);
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_FALSE(failed[t]) << "thread " << t;
}

TEST(SmallBlockPool, RetiringGivesBackUnusedChunksAtOnceAndTheOthersWithTheirLastBlock) {
  SmallBlockPool pool;
  // Blocks of one class in several chunks; all but one block of the first chunk are freed before the
  // pool retires.
  std::vector<void*> blocks;
  while (pool.ChunkBytes() < 3 * 256 * 1024) blocks.push_back(pool.Allocate(1000));
  void* kept = blocks.front();
  for (size_t i = 1; i < blocks.size(); ++i) pool.Free(blocks[i]);
  const size_t before = pool.ChunkBytes();
  pool.Retire();
  EXPECT_LT(pool.ChunkBytes(), before) << "the chunks with no block in use went back";
  EXPECT_GT(pool.ChunkBytes(), 0u) << "the chunk of the block in use stays while it is used";
  std::memset(kept, 0x3C, 1000);  // still the caller's to use
  pool.Free(kept);
  EXPECT_EQ(pool.ChunkBytes(), 0u) << "the last chunk went back with its last block";
}

TEST(SmallBlockPool, RequestsAfterRetiringComeFromTheHeapAndGoBackToIt) {
  SmallBlockPool pool;
  void* before = pool.Allocate(64);
  pool.Retire();
  std::vector<void*> blocks;
  for (size_t size : {0, 16, 64, 4096, 70000}) {
    void* p = pool.Allocate(size);
    ASSERT_NE(p, nullptr) << size;
    EXPECT_TRUE(Aligned(p)) << size;
    EXPECT_GE(SmallBlockPool::UsableSize(p), size) << size;
    std::memset(p, 0x7E, size);
    blocks.push_back(p);
  }
  EXPECT_GT(pool.ChunkBytes(), 0u) << "only the chunk of the block from before";
  for (void* p : blocks) pool.Free(p);
  pool.Free(before);
  EXPECT_EQ(pool.ChunkBytes(), 0u) << "no request after retiring took a chunk";
  pool.Free(nullptr);
}
