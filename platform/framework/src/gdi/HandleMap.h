// Maps from Win32 handles to the framework objects that wrap them: one process-wide map of owning
// wrappers and, per thread, the temporary wrappers FromHandle makes for handles nobody owns.
#pragma once

#include <windows.h>

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

// Temporaries never own their handle: Clear's `release` takes the handle out of each wrapper
// before deleting it, so the wrapper's destructor leaves the handle alone.
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

 private:
  std::unordered_map<Handle, Object*> map_;
};

// Both maps of one kind of wrapper. Policy::Wrap(h) makes a temporary holding h;
// Policy::Release(object) takes the handle out of a temporary before it is deleted.
template <class Handle, class Object, class Policy>
class HandleMaps {
 public:
  static PermanentHandleMap<Handle, Object>& Permanent() {
    static PermanentHandleMap<Handle, Object> map;
    return map;
  }
  static Object* FromHandle(Handle h) {
    if (h == nullptr) return nullptr;
    if (Object* owner = Permanent().Lookup(h)) return owner;
    return Temporaries().Get(h, [h] { return Policy::Wrap(h); });
  }
  static Object* FromHandlePermanent(Handle h) { return h ? Permanent().Lookup(h) : nullptr; }
  // Frees the calling thread's temporaries (idle time and thread end); the map itself goes too,
  // so a thread that never asks again leaves nothing behind.
  static void DeleteTempMap() {
    TemporaryHandleMap<Handle, Object>* map = t_temporaries;
    if (map == nullptr) return;
    t_temporaries = nullptr;
    map->Clear(Policy::Release);
    delete map;
  }

 private:
  // A plain pointer: thread-local objects with destructors are not reliably destroyed on the
  // threads of this runtime, so the map is freed explicitly through DeleteTempMap.
  static thread_local TemporaryHandleMap<Handle, Object>* t_temporaries;
  static TemporaryHandleMap<Handle, Object>& Temporaries() {
    if (t_temporaries == nullptr) t_temporaries = new TemporaryHandleMap<Handle, Object>();
    return *t_temporaries;
  }
};

template <class Handle, class Object, class Policy>
thread_local TemporaryHandleMap<Handle, Object>* HandleMaps<Handle, Object, Policy>::t_temporaries = nullptr;

}  // namespace framework_detail
