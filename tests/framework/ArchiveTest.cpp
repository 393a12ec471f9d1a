// CArchive: round trips of values, strings and objects (by class name, with back-references and
// schemas), collections and the automation types; truncated and garbled archives raise
// CArchiveException instead of crashing.
#include <afxcoll.h>
#include <afxdisp.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

class CNode : public CObject {
  DECLARE_SERIAL(CNode)
 public:
  CString name;
  LONG weight = 0;
  CNode* partner = nullptr;  // not owned
  CObArray children;         // owned

  ~CNode() override {
    for (INT_PTR i = 0; i < children.GetSize(); ++i) delete children[i];
  }
  void Serialize(CArchive& ar) override {
    children.Serialize(ar);
    if (ar.IsStoring()) {
      ar << name << weight << partner;
    } else {
      ar >> name >> weight;
      partner = static_cast<CNode*>(ar.ReadObject(RUNTIME_CLASS(CNode)));
    }
  }
};
IMPLEMENT_SERIAL(CNode, CObject, 1)

// Reads any stored schema itself.
class CVersioned : public CObject {
  DECLARE_SERIAL(CVersioned)
 public:
  UINT loadedSchema = 0;
  void Serialize(CArchive& ar) override {
    if (ar.IsLoading()) loadedSchema = ar.GetObjectSchema();
  }
};
IMPLEMENT_SERIAL(CVersioned, CObject, VERSIONABLE_SCHEMA | 2)

class COther : public CObject {
  DECLARE_SERIAL(COther)
};
IMPLEMENT_SERIAL(COther, CObject, 1)

std::vector<BYTE> Contents(CMemFile& file) {
  std::vector<BYTE> bytes(static_cast<size_t>(file.GetLength()));
  file.SeekToBegin();
  if (!bytes.empty()) file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
  return bytes;
}

template <class Store>
std::vector<BYTE> StoreToBytes(Store store) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    store(ar);
    ar.Close();
  }
  return Contents(file);
}

template <class Load>
void LoadFromBytes(std::vector<BYTE> bytes, Load load) {
  CMemFile file(bytes.empty() ? nullptr : bytes.data(), static_cast<UINT>(bytes.size()));
  CArchive ar(&file, CArchive::load);
  load(ar);
}

TEST(ArchiveValues, PrimitivesStringsAndCountsRoundTrip) {
  CString longText(L'\u00e9', 70000);
  auto bytes = StoreToBytes([&](CArchive& ar) {
    ar << static_cast<BYTE>(0xAB) << static_cast<WORD>(0x1234) << static_cast<LONG>(-5)
       << static_cast<DWORD>(7) << 1.5 << 2.5f << static_cast<LONGLONG>(-9000000000LL) << true << 42;
    ar << CString(L"caf\u00e9") << CString() << longText;
    ar.WriteCount(3);
    ar.WriteCount(0x12345);
  });
  // Byte, word, long, dword, double, float, int64, bool, int = 1+2+4+4+8+4+8+4+4 = 39 bytes first.
  ASSERT_GT(bytes.size(), 39u);
  EXPECT_EQ(0xAB, bytes[0]);
  LoadFromBytes(bytes, [&](CArchive& ar) {
    BYTE b;
    WORD w;
    LONG l;
    DWORD dw;
    double d;
    float f;
    LONGLONG ll;
    bool flag;
    int i;
    ar >> b >> w >> l >> dw >> d >> f >> ll >> flag >> i;
    EXPECT_EQ(0xAB, b);
    EXPECT_EQ(0x1234, w);
    EXPECT_EQ(-5, l);
    EXPECT_EQ(7u, dw);
    EXPECT_EQ(1.5, d);
    EXPECT_EQ(2.5f, f);
    EXPECT_EQ(-9000000000LL, ll);
    EXPECT_TRUE(flag);
    EXPECT_EQ(42, i);
    CString s1, s2, s3;
    ar >> s1 >> s2 >> s3;
    EXPECT_STREQ(L"caf\u00e9", s1);
    EXPECT_TRUE(s2.IsEmpty());
    EXPECT_EQ(longText, s3);
    EXPECT_EQ(3u, ar.ReadCount());
    EXPECT_EQ(0x12345u, ar.ReadCount());
  });
}

TEST(ArchiveValues, WideStringsCarryTheUnicodeMarker) {
  auto bytes = StoreToBytes([](CArchive& ar) { ar << CString(L"ab"); });
  std::vector<BYTE> expected = {0xFF, 0xFE, 0xFF, 0x02, 'a', 0, 'b', 0};
  EXPECT_EQ(expected, bytes);
  // Narrow strings (no marker) load through the ANSI code page.
  LoadFromBytes({0x03, 'x', 'y', 'z'}, [](CArchive& ar) {
    CString s;
    ar >> s;
    EXPECT_STREQ(L"xyz", s);
  });
}

TEST(ArchiveObjects, ObjectsComeBackAsNewObjectsOfTheirClassesWithSharedReferences) {
  CNode root;
  root.name = L"root";
  CNode* left = new CNode;
  left->name = L"left";
  left->weight = 3;
  CNode* right = new CNode;
  right->name = L"right";
  right->partner = left;  // a back-reference to an object stored earlier
  left->partner = &root;  // a reference to the object being stored
  root.children.Add(left);
  root.children.Add(right);
  root.children.Add(new CVersioned);

  auto bytes = StoreToBytes([&](CArchive& ar) { ar << &root; });
  CObject* loaded = nullptr;
  LoadFromBytes(bytes, [&](CArchive& ar) { ar >> loaded; });
  ASSERT_NE(nullptr, loaded);
  CNode* copy = DYNAMIC_DOWNCAST(CNode, loaded);
  ASSERT_NE(nullptr, copy);
  EXPECT_STREQ(L"root", copy->name);
  ASSERT_EQ(3, copy->children.GetSize());
  CNode* l = DYNAMIC_DOWNCAST(CNode, copy->children[0]);
  CNode* r = DYNAMIC_DOWNCAST(CNode, copy->children[1]);
  CVersioned* v = DYNAMIC_DOWNCAST(CVersioned, copy->children[2]);
  ASSERT_TRUE(l && r && v);
  EXPECT_EQ(3, l->weight);
  EXPECT_EQ(copy, l->partner);
  EXPECT_EQ(l, r->partner);
  EXPECT_EQ(2u, v->loadedSchema);
  delete copy;
}

TEST(ArchiveObjects, ClassesAreWrittenOnceThenReferencedByIndex) {
  auto bytes = StoreToBytes([](CArchive& ar) {
    ar.WriteClass(RUNTIME_CLASS(COther));
    ar.WriteClass(RUNTIME_CLASS(COther));
  });
  std::vector<BYTE> expected = {0xFF, 0xFF, 0x01, 0x00, 0x06, 0x00, 'C', 'O', 't', 'h', 'e', 'r', 0x01, 0x80};
  EXPECT_EQ(expected, bytes);
  LoadFromBytes(bytes, [](CArchive& ar) {
    UINT schema = 0;
    EXPECT_EQ(RUNTIME_CLASS(COther), ar.ReadClass(RUNTIME_CLASS(CObject), &schema));
    EXPECT_EQ(1u, schema);
    EXPECT_EQ(RUNTIME_CLASS(COther), ar.ReadClass());
  });
}

TEST(ArchiveObjects, SerializeClassSetsTheObjectSchemaOnLoad) {
  auto bytes = StoreToBytes([](CArchive& ar) { ar.SerializeClass(RUNTIME_CLASS(CVersioned)); });
  LoadFromBytes(bytes, [](CArchive& ar) {
    ar.SerializeClass(RUNTIME_CLASS(CVersioned));
    EXPECT_EQ(2u, ar.GetObjectSchema());
    EXPECT_EQ(static_cast<UINT>(-1), ar.GetObjectSchema());
  });
}

int CauseOfLoading(const std::vector<BYTE>& bytes, const CRuntimeClass* requested) {
  try {
    LoadFromBytes(bytes, [&](CArchive& ar) {
      CObject* o = ar.ReadObject(requested);
      delete o;
    });
  } catch (CArchiveException* e) {
    int cause = e->m_cause;
    e->Delete();
    return cause;
  }
  return CArchiveException::none;
}

TEST(ArchiveCorruption, EveryTruncationOfAStoredObjectRaisesEndOfFile) {
  CNode root;
  root.name = L"truncated";
  CNode* child = new CNode;
  child->partner = &root;
  root.children.Add(child);
  auto bytes = StoreToBytes([&](CArchive& ar) { ar << &root; });
  for (size_t n = 0; n < bytes.size(); ++n) {
    std::vector<BYTE> prefix(bytes.begin(), bytes.begin() + n);
    EXPECT_EQ(CArchiveException::endOfFile, CauseOfLoading(prefix, nullptr)) << "at " << n;
  }
  EXPECT_EQ(CArchiveException::none, CauseOfLoading(bytes, nullptr));
}

TEST(ArchiveCorruption, UnknownClassesWrongSchemasAndBadIndexesAreReported) {
  auto stored = StoreToBytes([](CArchive& ar) {
    COther other;
    ar << &other;
  });
  // Rename the stored class to one nobody registered.
  std::vector<BYTE> unknown = stored;
  unknown[6] = 'X';
  EXPECT_EQ(CArchiveException::badClass, CauseOfLoading(unknown, nullptr));
  // A schema the class does not read.
  std::vector<BYTE> schema = stored;
  schema[2] = 9;
  EXPECT_EQ(CArchiveException::badSchema, CauseOfLoading(schema, nullptr));
  // A class of the wrong kind for the request.
  EXPECT_EQ(CArchiveException::badClass, CauseOfLoading(stored, RUNTIME_CLASS(CNode)));
  // References to objects or classes never stored.
  EXPECT_EQ(CArchiveException::badIndex, CauseOfLoading({0x05, 0x00}, nullptr));
  EXPECT_EQ(CArchiveException::badIndex, CauseOfLoading({0x03, 0x80}, nullptr));
  // A class name longer than any class's.
  EXPECT_EQ(CArchiveException::badClass, CauseOfLoading({0xFF, 0xFF, 0x01, 0x00, 0xFF, 0x7F}, nullptr));
  // A string whose length runs past the end.
  try {
    LoadFromBytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a'}, [](CArchive& ar) {
      CString s;
      ar >> s;
    });
    FAIL();
  } catch (CArchiveException* e) {
    EXPECT_EQ(CArchiveException::endOfFile, e->m_cause);
    e->Delete();
  }
}

TEST(ArchiveModes, ReadingAStoringArchiveAndWritingALoadingOneAreRefused) {
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  BYTE b;
  try {
    ar >> b;
    FAIL();
  } catch (CArchiveException* e) {
    EXPECT_EQ(CArchiveException::writeOnly, e->m_cause);
    e->Delete();
  }
  ar.Abort();
  EXPECT_EQ(0u, file.GetLength());  // abort writes nothing
  CArchive reader(&file, CArchive::load);
  try {
    reader << b;
    FAIL();
  } catch (CArchiveException* e) {
    EXPECT_EQ(CArchiveException::readOnly, e->m_cause);
    e->Delete();
  }
}

TEST(ArchiveCollections, StringArraysListsAndMapsRoundTrip) {
  CStringArray strings;
  strings.Add(L"one");
  strings.Add(L"two");
  CMapStringToString map;
  map[L"k"] = L"v";
  CDWordArray numbers;
  numbers.Add(10);
  numbers.Add(20);
  CObList objects;
  objects.AddTail(new COther);
  objects.AddTail(objects.GetHead());  // the same object twice
  auto bytes = StoreToBytes([&](CArchive& ar) {
    strings.Serialize(ar);
    map.Serialize(ar);
    numbers.Serialize(ar);
    objects.Serialize(ar);
  });
  delete objects.GetHead();
  CStringArray strings2;
  CMapStringToString map2;
  CDWordArray numbers2;
  CObList objects2;
  LoadFromBytes(bytes, [&](CArchive& ar) {
    strings2.Serialize(ar);
    map2.Serialize(ar);
    numbers2.Serialize(ar);
    objects2.Serialize(ar);
  });
  ASSERT_EQ(2, strings2.GetSize());
  EXPECT_STREQ(L"two", strings2[1]);
  CString v;
  EXPECT_TRUE(map2.Lookup(L"k", v));
  EXPECT_STREQ(L"v", v);
  ASSERT_EQ(2, numbers2.GetSize());
  EXPECT_EQ(20u, numbers2[1]);
  ASSERT_EQ(2, objects2.GetCount());
  EXPECT_EQ(objects2.GetHead(), objects2.GetTail());
  EXPECT_TRUE(objects2.GetHead()->IsKindOf(RUNTIME_CLASS(COther)));
  delete objects2.GetHead();

  // Pointer collections have no archive form.
  CPtrArray pointers;
  EXPECT_THROW(StoreToBytes([&](CArchive& ar) { pointers.Serialize(ar); }), CNotSupportedException*);
}

TEST(ArchiveCollections, AHugeStoredCountEndsAtTheArchiveEnd) {
  // A count of 0xFFFFFFFE elements followed by nothing.
  CDWordArray numbers;
  try {
    LoadFromBytes({0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF}, [&](CArchive& ar) { numbers.Serialize(ar); });
    FAIL();
  } catch (CArchiveException* e) {
    EXPECT_EQ(CArchiveException::endOfFile, e->m_cause);
    e->Delete();
  }
}

TEST(ArchiveAutomationTypes, DatesVariantsAndCurrenciesRoundTrip) {
  COleDateTime date(2024, 2, 29, 13, 45, 10);
  COleDateTime invalid;
  invalid.SetStatus(COleDateTime::invalid);
  COleVariant text(L"text"), number(7L), missing(static_cast<long>(DISP_E_PARAMNOTFOUND), VT_ERROR), empty;
  COleVariant flag(true), when(date);
  COleCurrency money(12, 3400);
  auto bytes = StoreToBytes([&](CArchive& ar) {
    ar << date << invalid << text << number << missing << empty << flag << when << money;
  });
  LoadFromBytes(bytes, [&](CArchive& ar) {
    COleDateTime d, i;
    COleVariant v1, v2, v3, v4, v5, v6;
    COleCurrency c;
    ar >> d >> i >> v1 >> v2 >> v3 >> v4 >> v5 >> v6 >> c;
    EXPECT_EQ(date.m_dt, d.m_dt);
    EXPECT_EQ(COleDateTime::valid, d.GetStatus());
    EXPECT_EQ(COleDateTime::invalid, i.GetStatus());
    EXPECT_TRUE(v1 == text);
    EXPECT_TRUE(v2 == number);
    EXPECT_TRUE(v3 == missing);
    EXPECT_EQ(VT_EMPTY, v4.vt);
    EXPECT_TRUE(v5 == flag);
    EXPECT_TRUE(v6 == when);
    EXPECT_TRUE(c == money);
  });
  // A variant of a type the archive form does not know.
  EXPECT_THROW(LoadFromBytes({0x09, 0x00},
                             [](CArchive& ar) {
                               COleVariant v;
                               ar >> v;
                             }),
               CArchiveException*);
}

TEST(ArchiveCorruption, RandomlyDamagedArchivesFailWithFrameworkExceptionsOnly) {
  CStringArray strings;
  strings.Add(L"alpha");
  strings.Add(CString(L'\u00fc', 300));
  CMapStringToString map;
  map[L"key"] = L"value";
  COther* shared = new COther;
  auto bytes = StoreToBytes([&](CArchive& ar) {
    strings.Serialize(ar);
    map.Serialize(ar);
    ar << COleVariant(L"variant") << COleDateTime(2001, 2, 3, 4, 5, 6) << COleCurrency(5, 0);
    ar << shared << shared;
    ar.WriteCount(1234567);
  });
  delete shared;

  unsigned seed = 12345;
  auto next = [&seed]() {
    seed = seed * 1103515245u + 12345u;
    return seed >> 16;
  };
  int failures = 0;
  for (int round = 0; round < 3000; ++round) {
    std::vector<BYTE> damaged = bytes;
    int flips = 1 + static_cast<int>(next() % 3);
    for (int i = 0; i < flips; ++i) damaged[next() % damaged.size()] ^= static_cast<BYTE>(1 + next() % 255);
    if (next() % 4 == 0) damaged.resize(next() % damaged.size());
    CStringArray strings2;
    CMapStringToString map2;
    CObject* first = nullptr;
    CObject* second = nullptr;
    try {
      LoadFromBytes(damaged, [&](CArchive& ar) {
        strings2.Serialize(ar);
        map2.Serialize(ar);
        COleVariant v;
        COleDateTime d;
        COleCurrency c;
        ar >> v >> d >> c;
        first = ar.ReadObject(nullptr);
        second = ar.ReadObject(nullptr);
        ar.ReadCount();
      });
    } catch (CException* e) {
      ++failures;
      e->Delete();
    }
    if (second != first) delete second;
    delete first;
  }
  EXPECT_GT(failures, 0);
}

}  // namespace
