// The editor requests with a real parent window, as a Windows host makes them: the panel opens
// as a child of the host's window at the size effEditGetRect reports, and goes away on close.

#ifdef _WIN32
#include <windows.h>

#include "Vst2Test.h"

class EditorWindow : public Vst2Test {
 protected:
  void SetUp() override {
    Vst2Test::SetUp();
    parent = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 900, 600, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(parent, nullptr) << "no window station to open windows in";
  }
  void TearDown() override {
    if (parent) DestroyWindow(parent);
  }
  HWND parent = nullptr;
};

TEST_F(EditorWindow, OpensAsAChildAndClosesAgain) {
  auto plug = Create(host);
  ASSERT_TRUE(*plug);
  ERect* rect = nullptr;
  ASSERT_EQ(plug->Dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_EQ(plug->Dispatch(effEditOpen, 0, 0, parent), 1);
  HWND child = GetWindow(parent, GW_CHILD);
  ASSERT_NE(child, nullptr);
  RECT client = {};
  GetClientRect(child, &client);
  EXPECT_EQ(client.right - client.left, rect->right - rect->left);
  EXPECT_EQ(client.bottom - client.top, rect->bottom - rect->top);
  EXPECT_EQ(plug->Dispatch(effEditClose), 1);
  EXPECT_FALSE(IsWindow(child));
  EXPECT_EQ(plug->Dispatch(effEditOpen, 0, 0, parent), 1) << "the editor opens again";
  plug->Close();
  EXPECT_EQ(GetWindow(parent, GW_CHILD), nullptr) << "closing the instance removes the panel";
}
#endif
