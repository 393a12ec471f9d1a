// Collections: growth, insertion and removal of arrays, POSITION walks of lists and maps, the typed
// pointer wrappers and the named collections.
#include <afxtempl.h>
#include <afxcoll.h>

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(CArrayGrowth, GrowsByAnEighthClampedBetweenFourAnd1024) {
  CArray<int, int> a;
  a.Add(1);
  EXPECT_EQ(1, a.GetSize());
  // The first allocation is exact; later ones add at least 4 spare elements.
  const int* first = a.GetData();
  a.Add(2);
  EXPECT_NE(first, a.GetData());
  const int* grown = a.GetData();
  for (int i = 0; i < 3; ++i) a.Add(3 + i);
  EXPECT_EQ(grown, a.GetData());  // 1 + 4 elements fit without moving
  a.SetSize(8000);
  const int* big = a.GetData();
  a.Add(0);
  EXPECT_NE(big, a.GetData());
  const int* bigger = a.GetData();
  for (int i = 0; i < 999; ++i) a.Add(i);  // 1000 spare slots were made (8000 / 8)
  EXPECT_EQ(bigger, a.GetData());
  EXPECT_EQ(9000, a.GetSize());
  EXPECT_EQ(5, a[4]);
  EXPECT_EQ(0, a[5000]);  // new elements are zeroed
}

TEST(CArrayEditing, InsertRemoveAndBoundsChecks) {
  CStringArray a;
  a.Add(L"a");
  a.Add(L"d");
  a.InsertAt(1, L"b");
  a.InsertAt(2, L"c");
  ASSERT_EQ(4, a.GetSize());
  EXPECT_STREQ(L"abcd", a[0] + a[1] + a[2] + a[3]);
  a.RemoveAt(1, 2);
  ASSERT_EQ(2, a.GetSize());
  EXPECT_STREQ(L"d", a.GetAt(1));
  a.SetAtGrow(4, L"e");
  EXPECT_EQ(5, a.GetSize());
  EXPECT_TRUE(a[3].IsEmpty());
  EXPECT_THROW(a.GetAt(5), CInvalidArgException*);
  EXPECT_THROW(a.RemoveAt(4, 2), CInvalidArgException*);
  CStringArray b;
  b.Add(L"x");
  EXPECT_EQ(5, a.Append(b));
  EXPECT_STREQ(L"x", a[5]);
  a.Add(a[0]);  // an element of the array itself survives the growth
  EXPECT_STREQ(L"a", a[6]);
  a.RemoveAll();
  EXPECT_TRUE(a.IsEmpty());
}

TEST(CListWalk, PositionsWalkBothWaysAndSurviveRemovalOfTheCurrentNode) {
  CList<int, int> list;
  for (int i = 1; i <= 5; ++i) list.AddTail(i);
  list.AddHead(0);
  ASSERT_EQ(6, list.GetCount());
  int sum = 0;
  for (POSITION pos = list.GetHeadPosition(); pos;) sum = sum * 10 + list.GetNext(pos);
  EXPECT_EQ(12345, sum);  // 0,1,2,3,4,5
  int back = 0;
  for (POSITION pos = list.GetTailPosition(); pos;) back = back * 10 + list.GetPrev(pos);
  EXPECT_EQ(543210, back);

  // Remove the even values while walking: the next position is taken before removal.
  for (POSITION pos = list.GetHeadPosition(); pos;) {
    POSITION current = pos;
    if (list.GetNext(pos) % 2 == 0) list.RemoveAt(current);
  }
  ASSERT_EQ(3, list.GetCount());
  EXPECT_EQ(1, list.GetHead());
  EXPECT_EQ(5, list.GetTail());

  POSITION three = list.Find(3);
  ASSERT_NE(nullptr, three);
  list.InsertBefore(three, 2);
  list.InsertAfter(three, 4);
  EXPECT_EQ(4, list.GetAt(list.FindIndex(3)));
  EXPECT_EQ(nullptr, list.FindIndex(5));
  EXPECT_EQ(nullptr, list.Find(3, three));
  EXPECT_EQ(1, list.RemoveHead());
  EXPECT_EQ(5, list.RemoveTail());
  EXPECT_EQ(3, list.GetCount());
  list.RemoveAll();
  EXPECT_THROW(list.GetHead(), CInvalidArgException*);
  EXPECT_THROW(list.RemoveTail(), CInvalidArgException*);
}

TEST(CMapLookup, StoresFindsAndRemovesKeys) {
  CMap<UINT, UINT, CString, const CString&> map;
  EXPECT_EQ(17u, map.GetHashTableSize());
  EXPECT_EQ(nullptr, map.GetStartPosition());
  for (UINT id = 100; id < 400; ++id) map[id].Format(L"cmd%u", id);
  EXPECT_EQ(300, map.GetCount());
  CString value;
  ASSERT_TRUE(map.Lookup(257, value));
  EXPECT_STREQ(L"cmd257", value);
  EXPECT_FALSE(map.Lookup(99, value));
  map.SetAt(257, L"changed");
  EXPECT_EQ(300, map.GetCount());
  EXPECT_TRUE(map.RemoveKey(258));
  EXPECT_FALSE(map.RemoveKey(258));

  std::set<UINT> seen;
  POSITION pos = map.GetStartPosition();
  while (pos) {
    UINT key;
    map.GetNextAssoc(pos, key, value);
    EXPECT_TRUE(seen.insert(key).second) << key;
  }
  EXPECT_EQ(299u, seen.size());
  EXPECT_EQ(0u, seen.count(258));
}

TEST(CMapLookup, WalkVisitsBucketsInOrderAndNewestFirstWithinABucket) {
  CMap<UINT, UINT, int, int> map;
  // Keys 16 apart hash to consecutive buckets (HashKey drops the low four bits).
  map[0x20] = 2;
  map[0x10] = 1;
  map[0x10 + 17 * 16] = 3;  // same bucket as 0x10, added later
  POSITION pos = map.GetStartPosition();
  UINT key;
  int value;
  map.GetNextAssoc(pos, key, value);
  EXPECT_EQ(3, value);
  map.GetNextAssoc(pos, key, value);
  EXPECT_EQ(1, value);
  map.GetNextAssoc(pos, key, value);
  EXPECT_EQ(2, value);
  EXPECT_EQ(nullptr, pos);
}

TEST(CMapLookup, StringKeysCompareExactly) {
  CMapStringToString map;
  map[L"Inbox"] = L"1";
  map.SetAt(L"inbox", L"2");
  EXPECT_EQ(2, map.GetCount());
  CString v;
  EXPECT_TRUE(map.Lookup(L"inbox", v));
  EXPECT_STREQ(L"2", v);
  CMapStringToPtr ptrs;
  int target = 0;
  ptrs[L"key"] = &target;
  void* found = nullptr;
  EXPECT_TRUE(ptrs.Lookup(L"key", found));
  EXPECT_EQ(&target, found);
}

class CItem : public CObject {
 public:
  explicit CItem(int v) : value(v) {}
  int value;
};

TEST(TypedPointerCollections, KeepThePointerTypeAtTheInterface) {
  CTypedPtrArray<CObArray, CItem*> array;
  CItem one(1), two(2);
  array.Add(&one);
  array.Add(&two);
  CItem* second = array[1];
  EXPECT_EQ(2, second->value);

  CTypedPtrList<CPtrList, CItem*> list;
  list.AddTail(&one);
  list.AddHead(&two);
  POSITION pos = list.GetHeadPosition();
  EXPECT_EQ(2, list.GetNext(pos)->value);
  EXPECT_EQ(1, list.GetNext(pos)->value);

  CTypedPtrMap<CMapWordToPtr, WORD, CItem*> map;
  map.SetAt(7, &one);
  CItem* found = nullptr;
  EXPECT_TRUE(map.Lookup(7, found));
  EXPECT_EQ(&one, found);
  pos = map.GetStartPosition();
  WORD key = 0;
  map.GetNextAssoc(pos, key, found);
  EXPECT_EQ(7, key);
  EXPECT_EQ(nullptr, pos);
}

TEST(NamedCollections, StringListAndPointerMapsBehaveLikeTheirTemplates) {
  CStringList names;
  names.AddTail(L"b");
  names.AddHead(L"a");
  EXPECT_NE(nullptr, names.Find(L"b"));
  EXPECT_EQ(nullptr, names.Find(L"c"));
  CMapPtrToPtr subclassMap;
  int a = 0, b = 0;
  subclassMap[&a] = &b;
  void* out = nullptr;
  EXPECT_TRUE(subclassMap.Lookup(&a, out));
  EXPECT_EQ(&b, out);
  CDWordArray dwords;
  dwords.Add(0xFFFFFFFF);
  EXPECT_EQ(0xFFFFFFFFu, dwords[0]);
  CByteArray bytes;
  bytes.SetSize(3);
  EXPECT_EQ(0, bytes[2]);
  CUIntArray uints;
  uints.Add(5);
  CWordArray words;
  words.Add(6);
  CPtrArray ptrs;
  ptrs.Add(&a);
  EXPECT_EQ(&a, ptrs[0]);
}

}  // namespace

namespace {

class CPane : public CObject {
  DECLARE_SERIAL(CPane)
 public:
  CString title;
  void Serialize(CArchive& ar) override {
    if (ar.IsStoring()) {
      ar << title;
    } else {
      ar >> title;
    }
  }
};
IMPLEMENT_SERIAL(CPane, CObject, 1)

TEST(CollectionForms, StringElementsWithPointerArgumentsAndTypedObjectMaps) {
  CArray<CString, LPCWSTR> names;
  names.Add(L"a");
  names.InsertAt(0, L"b");
  EXPECT_STREQ(L"b", names[0]);
  CList<CString, LPCWSTR> list;
  list.AddTail(L"x");
  EXPECT_NE(nullptr, list.Find(L"x"));

  CTypedPtrMap<CMapStringToOb, CString, CPane*> panes;
  CPane* pane = new CPane;
  pane->title = L"Folders";
  panes.SetAt(L"left", pane);
  CPane* found = nullptr;
  ASSERT_TRUE(panes.Lookup(L"left", found));
  EXPECT_EQ(pane, found);

  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    panes.Serialize(ar);
  }
  file.SeekToBegin();
  CTypedPtrMap<CMapStringToOb, CString, CPane*> loaded;
  {
    CArchive ar(&file, CArchive::load);
    loaded.Serialize(ar);
  }
  POSITION pos = loaded.GetStartPosition();
  CString key;
  CPane* value = nullptr;
  loaded.GetNextAssoc(pos, key, value);
  EXPECT_STREQ(L"left", key);
  ASSERT_NE(nullptr, value);
  EXPECT_STREQ(L"Folders", value->title);
  delete value;
  delete pane;

  CTypedPtrMap<CMapPtrToPtr, HWND, CPane*> byWindow;
  HWND fake = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x1230));
  byWindow[fake] = nullptr;
  EXPECT_EQ(1, byWindow.GetCount());
}

}  // namespace
