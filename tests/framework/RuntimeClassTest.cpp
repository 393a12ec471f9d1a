// Run-time classes: the registry by name, dynamic creation, derivation tests and down-casts.
#include <afx.h>

#include <gtest/gtest.h>

namespace {

class CShape : public CObject {
  DECLARE_DYNAMIC(CShape)
};
IMPLEMENT_DYNAMIC(CShape, CObject)

class CCircleShape : public CShape {
  DECLARE_DYNCREATE(CCircleShape)
 public:
  int radius = 5;
};
IMPLEMENT_DYNCREATE(CCircleShape, CShape)

class CStoredShape : public CCircleShape {
  DECLARE_SERIAL(CStoredShape)
};
IMPLEMENT_SERIAL(CStoredShape, CCircleShape, 3)

class CThrowingShape : public CShape {
  DECLARE_DYNCREATE(CThrowingShape)
 public:
  CThrowingShape() { AfxThrowResourceException(); }
};
IMPLEMENT_DYNCREATE(CThrowingShape, CShape)

TEST(RuntimeClass, DescribesEachDeclaredClass) {
  CRuntimeClass* c = RUNTIME_CLASS(CStoredShape);
  EXPECT_STREQ("CStoredShape", c->m_lpszClassName);
  EXPECT_EQ(static_cast<int>(sizeof(CStoredShape)), c->m_nObjectSize);
  EXPECT_EQ(3u, c->m_wSchema);
  EXPECT_EQ(RUNTIME_CLASS(CCircleShape), c->m_pBaseClass);
  EXPECT_EQ(0xFFFFu, RUNTIME_CLASS(CShape)->m_wSchema);
  EXPECT_EQ(nullptr, RUNTIME_CLASS(CShape)->m_pfnCreateObject);
}

TEST(RuntimeClass, FindsEveryDeclaredClassByExactName) {
  EXPECT_EQ(RUNTIME_CLASS(CShape), CRuntimeClass::FromName("CShape"));
  EXPECT_EQ(RUNTIME_CLASS(CCircleShape), CRuntimeClass::FromName(L"CCircleShape"));
  EXPECT_EQ(RUNTIME_CLASS(CStoredShape), CRuntimeClass::FromName("CStoredShape"));
  EXPECT_EQ(RUNTIME_CLASS(CObject), CRuntimeClass::FromName("CObject"));
  // Framework classes are registered too.
  EXPECT_NE(nullptr, CRuntimeClass::FromName("CFileException"));
  EXPECT_EQ(nullptr, CRuntimeClass::FromName("cshape"));
  EXPECT_EQ(nullptr, CRuntimeClass::FromName("CShap"));
  EXPECT_EQ(nullptr, CRuntimeClass::FromName(L"CSh\u00e4pe"));
  EXPECT_EQ(nullptr, CRuntimeClass::FromName(static_cast<LPCSTR>(nullptr)));
}

TEST(RuntimeClass, CreatesObjectsByClassOrName) {
  CObject* o = CRuntimeClass::CreateObject(L"CCircleShape");
  ASSERT_NE(nullptr, o);
  EXPECT_TRUE(o->IsKindOf(RUNTIME_CLASS(CCircleShape)));
  EXPECT_EQ(5, static_cast<CCircleShape*>(o)->radius);
  delete o;
  // Abstract or dynamic-only classes cannot be created.
  EXPECT_EQ(nullptr, RUNTIME_CLASS(CShape)->CreateObject());
  EXPECT_EQ(nullptr, CRuntimeClass::CreateObject("NoSuchClass"));
}

TEST(RuntimeClass, CreationPassesOnTheConstructorsFrameworkException) {
  try {
    RUNTIME_CLASS(CThrowingShape)->CreateObject();
    FAIL() << "expected an exception";
  } catch (CException* e) {
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CResourceException)));
    e->Delete();
  }
}

TEST(RuntimeClass, KindOfAndDownCastsFollowTheBaseChain) {
  CStoredShape stored;
  CCircleShape circle;
  CObject* p = &stored;
  EXPECT_TRUE(p->IsKindOf(RUNTIME_CLASS(CShape)));
  EXPECT_TRUE(p->IsKindOf(RUNTIME_CLASS(CObject)));
  EXPECT_FALSE(static_cast<CObject*>(&circle)->IsKindOf(RUNTIME_CLASS(CStoredShape)));
  EXPECT_EQ(&stored, DYNAMIC_DOWNCAST(CStoredShape, p));
  EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CStoredShape, static_cast<CObject*>(&circle)));
  EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CShape, static_cast<CObject*>(nullptr)));
  EXPECT_EQ(&circle, STATIC_DOWNCAST(CCircleShape, static_cast<CShape*>(&circle)));
  EXPECT_TRUE(RUNTIME_CLASS(CStoredShape)->IsDerivedFrom(RUNTIME_CLASS(CShape)));
  EXPECT_FALSE(RUNTIME_CLASS(CShape)->IsDerivedFrom(RUNTIME_CLASS(CStoredShape)));
  EXPECT_TRUE(stored.IsSerializable());
  EXPECT_FALSE(circle.IsSerializable());
}

}  // namespace
