// The program's own resources: the version it reports, the manifest that
// brings the common controls with visual styles, and the strings of the
// system-menu item, the tray commands and the help text.
#include "res/resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{
std::string LoadText(UINT nID)
{
    char szText[4098] = {};
    int nLength = LoadStringA(GetModuleHandleA(nullptr), nID, szText, sizeof(szText));
    return std::string(szText, nLength > 0 ? nLength : 0);
}

// The test program carries the program's resources; read its version block.
std::vector<char> VersionBlock()
{
    char szPath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    DWORD dwHandle = 0;
    DWORD dwSize = GetFileVersionInfoSizeA(szPath, &dwHandle);
    std::vector<char> block(dwSize);
    if (dwSize == 0 || !GetFileVersionInfoA(szPath, 0, dwSize, block.data()))
        block.clear();
    return block;
}

std::string VersionString(std::vector<char>& block, const char* pszName)
{
    std::string strPath = std::string("\\StringFileInfo\\040904B0\\") + pszName;
    char* pValue = nullptr;
    UINT nLength = 0;
    if (!VerQueryValueA(block.data(), strPath.c_str(), reinterpret_cast<void**>(&pValue), &nLength))
        return "(missing)";
    return pValue;
}
}

TEST(AppResources, VersionIsOnePointTwo)
{
    std::vector<char> block = VersionBlock();
    ASSERT_FALSE(block.empty());
    VS_FIXEDFILEINFO* pInfo = nullptr;
    UINT nLength = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&pInfo), &nLength));
    EXPECT_EQ(MAKELONG(2, 1), static_cast<LONG>(pInfo->dwFileVersionMS));
    EXPECT_EQ(MAKELONG(1, 0), static_cast<LONG>(pInfo->dwFileVersionLS));
    EXPECT_EQ(pInfo->dwFileVersionMS, pInfo->dwProductVersionMS);
    EXPECT_EQ(pInfo->dwFileVersionLS, pInfo->dwProductVersionLS);
    for (const char* pszName : { "FileDescription", "InternalName", "ProductName" })
        EXPECT_EQ("Gyrovanter", VersionString(block, pszName)) << pszName;
    EXPECT_EQ("1.2.0.1", VersionString(block, "FileVersion"));
}

TEST(AppResources, ManifestBringsCommonControlsSix)
{
    // The manifest's dependency is in force when the process's activation
    // context redirects comctl32.dll to the side-by-side version 6.
    ACTCTX_SECTION_KEYED_DATA data = {};
    data.cbSize = sizeof(data);
    ASSERT_TRUE(FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll",
                                         &data));
    // The assembly that redirects it is the common controls', version 6.
    char szManifest[4096] = {};
    HRSRC hManifest = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(nullptr, hManifest);
    DWORD dwSize = SizeofResource(nullptr, hManifest);
    ASSERT_LT(dwSize, sizeof(szManifest));
    memcpy(szManifest, LockResource(LoadResource(nullptr, hManifest)), dwSize);
    std::string strManifest(szManifest, dwSize);
    EXPECT_NE(std::string::npos, strManifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
    EXPECT_NE(std::string::npos, strManifest.find("<dpiAware"));
}

TEST(AppResources, Strings)
{
    EXPECT_EQ("&About Gyrovanter ...", LoadText(IDS_ABOUTBOX));
    const std::pair<UINT, const char*> prompts[] = {
        { ID_TRAY_CONFIGURE, "Open configure dialog\nOpen configure dialog" },
        { ID_TRAY_START, "Start circulation\nStart circulation" },
        { ID_TRAY_STOP, "Stop circulation\nStop circulation" },
        { ID_TRAY_ABOUT, "About Gyrovanter\nAbout Gyrovanter" },
        { ID_TRAY_EXIT, "E&xit program\nE&xit program" },
        { AFX_IDP_PARSE_INT, "Please enter an integer." },
        { AFX_IDP_PARSE_INT_RANGE, "Please enter an integer between %1 and %2." },
    };
    for (const auto& prompt : prompts)
        EXPECT_EQ(prompt.second, LoadText(prompt.first)) << prompt.first;
    // No application-title string: the name is the program file's.
    EXPECT_EQ("", LoadText(AFX_IDS_APP_TITLE));
    EXPECT_NE(std::string::npos, LoadText(ID_HELP).find("Exit"));
}
