// What Windows reads from each shipped executable before any of its code runs: the manifest
// (execution level, common controls 6, the Windows versions it was tested on) and the version
// resource, both read back out of the built files. The release number must be the project's
// everywhere: a manifest or version resource that still says an older one would mislead
// installers, support and the system's compatibility decisions.
#include <windows.h>

#include <gtest/gtest.h>

#include <SkinUI/Version.h>

#include <string>
#include <vector>

#include "ProgramTestSupport.h"
#include "skin/SkinXml.h"

namespace {

using SkinUI::CSkinXml;
using SkinUI::CSkinXmlNode;

struct TShippedProgram {
    const char* file;
    const char* manifest;  // the generated manifest in the build folder
    const char* assemblyName;
    const char* executionLevel;
};

const TShippedProgram kPrograms[] = {
    {"Quoril.exe", "Quoril.manifest", "Quoril.Quoril", "requireAdministrator"},
    {"SkinUIGallery.exe", "SkinUIGallery.manifest", "SkinUI.Gallery", "asInvoker"},
};

// Windows 7, 8, 8.1 and 10/11, in that order.
const char* const kSupportedOs[] = {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"};

class ResourceModule {
public:
    explicit ResourceModule(const std::string& path)
        : m_module(::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE))
    {
    }
    ~ResourceModule()
    {
        if (m_module != nullptr)
            ::FreeLibrary(m_module);
    }
    ResourceModule(const ResourceModule&) = delete;
    ResourceModule& operator=(const ResourceModule&) = delete;

    std::string Bytes(LPCSTR id, LPCSTR type) const
    {
        HRSRC found = m_module != nullptr ? ::FindResourceA(m_module, id, type) : nullptr;
        HGLOBAL loaded = found != nullptr ? ::LoadResource(m_module, found) : nullptr;
        const char* bytes = loaded != nullptr ? static_cast<const char*>(::LockResource(loaded)) : nullptr;
        return bytes != nullptr ? std::string(bytes, ::SizeofResource(m_module, found)) : std::string();
    }
    HMODULE Handle() const { return m_module; }

private:
    HMODULE m_module;
};

struct TElement {
    std::string name;
    std::string text;
    std::vector<std::pair<std::string, std::string>> attributes;

    std::string Value(const char* attribute) const
    {
        for (const auto& entry : attributes)
            if (entry.first == attribute)
                return entry.second;
        return std::string();
    }
};

// Every element of the document in document order.
void CollectElements(CSkinXmlNode node, std::vector<TElement>& out)
{
    for (; node.Exists(); node = node.NextSiblingNode()) {
        TElement element;
        element.name = node.ElementName();
        element.text = node.ElementText();
        for (int i = 0; i < node.AttributeCount(); ++i)
            element.attributes.emplace_back(node.AttributeNameAt(i), node.AttributeValueAt(i));
        out.push_back(element);
        CollectElements(node.FirstChildNode(), out);
    }
}

std::vector<const TElement*> Named(const std::vector<TElement>& elements, const char* name)
{
    std::vector<const TElement*> found;
    for (const TElement& element : elements)
        if (element.name == name)
            found.push_back(&element);
    return found;
}

TEST(ReleaseResources, ManifestReadsBackAsGeneratedAndDeclaresWhatWindowsNeeds)
{
    for (const TShippedProgram& program : kPrograms) {
        SCOPED_TRACE(program.file);
        ResourceModule module(programtest::BuildFolder() + program.file);
        ASSERT_NE(nullptr, module.Handle());
        const std::string manifest = module.Bytes(MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
        EXPECT_EQ(programtest::ReadFileBytes(programtest::BuildFolder() + program.manifest), manifest);

        CSkinXml document;
        ASSERT_TRUE(document.LoadFromText(manifest.c_str())) << document.ErrorText();
        std::vector<TElement> elements;
        CollectElements(document.RootNode(), elements);

        const std::vector<const TElement*> identities = Named(elements, "assemblyIdentity");
        ASSERT_EQ(2u, identities.size());
        EXPECT_EQ(program.assemblyName, identities[0]->Value("name"));
        EXPECT_EQ(SKINUI_VERSION_STRING4, identities[0]->Value("version"));
        EXPECT_EQ("amd64", identities[0]->Value("processorArchitecture"));
        EXPECT_EQ("Microsoft.Windows.Common-Controls", identities[1]->Value("name"));
        EXPECT_EQ("6.0.0.0", identities[1]->Value("version"));

        const std::vector<const TElement*> levels = Named(elements, "requestedExecutionLevel");
        ASSERT_EQ(1u, levels.size());
        EXPECT_EQ(program.executionLevel, levels[0]->Value("level"));
        EXPECT_EQ("false", levels[0]->Value("uiAccess"));

        const std::vector<const TElement*> systems = Named(elements, "supportedOS");
        ASSERT_EQ(4u, systems.size());
        for (size_t i = 0; i < systems.size(); ++i)
            EXPECT_EQ(kSupportedOs[i], systems[i]->Value("Id")) << i;

        // Per-monitor awareness, in the form each Windows version reads (the newer element first
        // names the awareness that also redraws the non-client area).
        const std::vector<const TElement*> aware = Named(elements, "dpiAware");
        ASSERT_EQ(1u, aware.size());
        EXPECT_EQ("true/pm", aware[0]->text);
        EXPECT_EQ("http://schemas.microsoft.com/SMI/2005/WindowsSettings", aware[0]->Value("xmlns"));
        const std::vector<const TElement*> awareness = Named(elements, "dpiAwareness");
        ASSERT_EQ(1u, awareness.size());
        EXPECT_EQ("PerMonitorV2, PerMonitor", awareness[0]->text);
        EXPECT_EQ("http://schemas.microsoft.com/SMI/2016/WindowsSettings", awareness[0]->Value("xmlns"));

        // The text is in the ANSI code page by design.
        EXPECT_TRUE(Named(elements, "activeCodePage").empty());
    }
}

std::string VersionString(const std::vector<char>& info, const char* key)
{
    char* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040904B0\\") + key;
    if (!::VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || value == nullptr)
        return std::string();
    return std::string(value, ::strnlen(value, length));
}

TEST(ReleaseResources, VersionResourceCarriesTheProjectVersion)
{
    for (const TShippedProgram& program : kPrograms) {
        SCOPED_TRACE(program.file);
        const std::string path = programtest::BuildFolder() + program.file;
        DWORD handle = 0;
        const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &handle);
        ASSERT_GT(size, 0u);
        std::vector<char> info(size);
        ASSERT_TRUE(::GetFileVersionInfoA(path.c_str(), 0, size, info.data()));

        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(::VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
        ASSERT_NE(nullptr, fixed);
        const DWORD high = MAKELONG(SKINUI_VERSION_MINOR, SKINUI_VERSION_MAJOR);
        const DWORD low = MAKELONG(0, SKINUI_VERSION_PATCH);
        EXPECT_EQ(high, fixed->dwFileVersionMS);
        EXPECT_EQ(low, fixed->dwFileVersionLS);
        EXPECT_EQ(high, fixed->dwProductVersionMS);
        EXPECT_EQ(low, fixed->dwProductVersionLS);

        EXPECT_EQ(SKINUI_VERSION_STRING4, VersionString(info, "FileVersion"));
        EXPECT_EQ(SKINUI_VERSION_STRING4, VersionString(info, "ProductVersion"));
        EXPECT_EQ(program.file, VersionString(info, "OriginalFilename"));
    }
}

}  // namespace
