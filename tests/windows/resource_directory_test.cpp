// The plug-in DLL's resource directory, read through Windows itself: six
// images of type "DATA" under upper-case names in language 1036, found by the
// mixed-case names the editor asks for.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "resources/library_module.h"
#include "resources/resource_table.h"

namespace {

const char* const kEditorNames[] = {"BackgroundBitmap.png", "knobAnimBitmap.png",
                                    "CabSimBitmap.png",     "BypassBitmap.png",
                                    "LedBitmap.png",        "OrvetonLogoBitmap.png"};

std::vector<unsigned char> committedImage(const std::string& name) {
  std::ifstream file(std::string(MURKFELL_RESOURCE_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class ResourceDirectory : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(module, nullptr);
    murkfell::libraryModule = module;
  }
  void TearDown() override { murkfell::libraryModule = nullptr; }
  static void TearDownTestSuite() { FreeLibrary(module); }

  static inline HMODULE module = LoadLibraryA(MURKFELL_PLUGIN_PATH);
};

TEST_F(ResourceDirectory, SixDataResourcesInUpperCaseAndFrench) {
  std::set<std::string> names;
  EnumResourceNamesA(
      module, "DATA",
      [](HMODULE, LPCSTR, LPSTR name, LONG_PTR found) -> BOOL {
        if (!IS_INTRESOURCE(name)) reinterpret_cast<std::set<std::string>*>(found)->insert(name);
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&names));
  EXPECT_EQ(names, (std::set<std::string>{"BACKGROUNDBITMAP.PNG", "BYPASSBITMAP.PNG",
                                          "CABSIMBITMAP.PNG", "KNOBANIMBITMAP.PNG", "LEDBITMAP.PNG",
                                          "ORVETONLOGOBITMAP.PNG"}));
  for (const std::string& name : names) {
    std::vector<WORD> languages;
    EnumResourceLanguagesA(
        module, "DATA", name.c_str(),
        [](HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR found) -> BOOL {
          reinterpret_cast<std::vector<WORD>*>(found)->push_back(language);
          return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&languages));
    EXPECT_EQ(languages, std::vector<WORD>{1036}) << name;
  }
}

TEST_F(ResourceDirectory, EditorNamesFindTheCommittedImages) {
  for (const char* name : kEditorNames) {
    const std::span<const unsigned char> found = murkfell::findImage(name);
    const std::vector<unsigned char> expected = committedImage(name);
    ASSERT_FALSE(expected.empty()) << name;
    EXPECT_TRUE(std::equal(found.begin(), found.end(), expected.begin(), expected.end())) << name;
  }
}

TEST_F(ResourceDirectory, LookupIgnoresCaseButNotTheType) {
  const std::span<const unsigned char> mixed = murkfell::findImage("LedBitmap.png");
  ASSERT_FALSE(mixed.empty());
  EXPECT_EQ(murkfell::findImage("ledbitmap.PNG").data(), mixed.data());
  EXPECT_EQ(murkfell::findResource("LEDBITMAP.PNG", "data").data(), mixed.data());
  EXPECT_TRUE(murkfell::findResource("LedBitmap.png", "PNG").empty());
  EXPECT_TRUE(murkfell::findImage("LedBitmap").empty());
  EXPECT_TRUE(murkfell::findImage("").empty());
}

TEST(ResourceLookup, NothingWithoutAModule) {
  murkfell::libraryModule = nullptr;
  EXPECT_TRUE(murkfell::findImage("BackgroundBitmap.png").empty());
}

}  // namespace
