// What Explorer shows for aplpatch.exe: its version resource.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/test_support_win32.h"

namespace aplpatch {
namespace {

class ProgramFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::wstring program = (testing::programFolder() / "aplpatch.exe").wstring();
    DWORD size = GetFileVersionInfoSizeW(program.c_str(), nullptr);
    ASSERT_GT(size, 0u) << "aplpatch.exe has no version resource";
    info.resize(size);
    ASSERT_TRUE(GetFileVersionInfoW(program.c_str(), 0, size, info.data()));
  }

  std::wstring text(const std::wstring& name) {
    void* value = nullptr;
    UINT length = 0;
    std::wstring key = L"\\StringFileInfo\\040904B0\\" + name;
    if (!VerQueryValueW(info.data(), key.c_str(), &value, &length) || length == 0) return L"(none)";
    return std::wstring(static_cast<const wchar_t*>(value), length - 1);
  }

  std::vector<char> info;
};

TEST_F(ProgramFile, SaysWhatItIsAndWhichVersion) {
  EXPECT_EQ(text(L"ProductName"), L"aplpatch");
  EXPECT_EQ(text(L"FileDescription"), L"" APLPATCH_DESCRIPTION);
  EXPECT_EQ(text(L"ProductVersion"), L"" APLPATCH_VERSION);
  EXPECT_EQ(text(L"FileVersion"), L"" APLPATCH_VERSION);
  EXPECT_EQ(text(L"OriginalFilename"), L"aplpatch.exe");

  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", &value, &length));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  std::wstring version = std::to_wstring(HIWORD(fixed->dwProductVersionMS)) + L"." +
                         std::to_wstring(LOWORD(fixed->dwProductVersionMS)) + L"." +
                         std::to_wstring(HIWORD(fixed->dwProductVersionLS));
  EXPECT_EQ(version, L"" APLPATCH_VERSION);
}

}  // namespace
}  // namespace aplpatch
