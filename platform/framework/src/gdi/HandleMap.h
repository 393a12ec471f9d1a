// Maps from Win32 handles to the framework objects that wrap them: one process-wide map of owning
// wrappers and, per thread, the temporary wrappers FromHandle makes for handles nobody owns.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <unordered_map>

namespace framework_detail {

template <class Handle, class Object>
class PermanentHandleMap {
 public:
  void Add(Handle h, Object* object) {
    std::lock_guard<std::mutex> lock(mutex_);
    map_[h] = object;
  }
  // Removes the entry only if it still belongs to object: a handle value can be reused by GDI
  // after its first owner let it go.
  void Remove(Handle h, Object* object) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = map_.find(h);
    if (it != map_.end() && it->second == object) map_.erase(it);
  }
  Object* Lookup(Handle h) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = map_.find(h);
    return it == map_.end() ? nullptr : it->second;
  }

 private:
  std::mutex mutex_;
  std::unordered_map<Handle, Object*> map_;
};

// Temporaries never own their handle; `release` takes the handle out of a wrapper before it is
// deleted so its destructor leaves the handle alone.
template <class Handle, class Object>
class TemporaryHandleMap {
 public:
  template <class Make>
  Object* Get(Handle h, Make make) {
    auto it = map_.find(h);
    if (it != map_.end()) return it->second;
    Object* object = make();
    map_[h] = object;
    return object;
  }
  template <class Release>
  void Clear(Release release) {
    auto map = std::move(map_);
    map_.clear();
    for (auto& entry : map) {
      release(entry.second);
      delete entry.second;
    }
  }
  Object* Lookup(Handle h) const {
    auto it = map_.find(h);
    return it == map_.end() ? nullptr : it->second;
  }

 private:
  std::unordered_map<Handle, Object*> map_;
};

}  // namespace framework_detail
