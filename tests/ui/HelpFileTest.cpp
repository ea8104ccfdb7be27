#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <cstring>
#include <map>
#include <regex>
#include <set>

#include "ui/PopupTexts.h"
#include "ui/UiTestSupport.h"
#include "win32/ComPtr.h"
#include "win32/ProgramPath.h"

namespace stratigon::test {

// The platform's reader of compiled help files (itss.dll), which HTML Help itself uses.
const GUID kClassItStorage = {0x5d02926a, 0x212e, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};
const GUID kInterfaceItStorage = {0x88cc31de, 0x27ab, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};

// Declared outside an anonymous namespace: the compiler would take a class of this file with no
// implementation in it for one that can never be called.
struct IITStorage : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfile(const WCHAR*, DWORD, DWORD, IStorage**) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfileOnILockBytes(ILockBytes*, DWORD, DWORD, IStorage**) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageFile(const WCHAR*) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageILockBytes(ILockBytes*) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgOpenStorage(const WCHAR*, IStorage*, DWORD, SNB, DWORD, IStorage**) = 0;
};

namespace {

// The files inside Stratigon.chm beside this test program.
class HelpFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        win32::ComPtr<IITStorage> reader;
        ASSERT_EQ(::CoCreateInstance(kClassItStorage, nullptr, CLSCTX_INPROC_SERVER, kInterfaceItStorage, reader.put_void()), S_OK);
        const std::wstring path = win32::ProgramFolder() + L"\\Stratigon.chm";
        ASSERT_EQ(reader->StgOpenStorage(path.c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, storage.put()), S_OK);
    }
    void TearDown() override
    {
        storage.reset();
        ::CoUninitialize();
    }

    // A file's bytes; nothing when the help file does not hold it.
    std::optional<std::string> Read(const std::string& name) const
    {
        const std::wstring wide(name.begin(), name.end());
        win32::ComPtr<IStream> stream;
        if (FAILED(storage->OpenStream(wide.c_str(), nullptr, STGM_READ, 0, stream.put())))
            return std::nullopt;
        std::string bytes;
        char chunk[4096];
        ULONG got = 0;
        while (SUCCEEDED(stream->Read(chunk, sizeof chunk, &got)) && got > 0)
            bytes.append(chunk, got);
        return bytes;
    }

    static std::vector<std::string> Targets(const std::string& sitemap)
    {
        static const std::regex local(R"re(name="Local"\s+value="([^"]+)")re", std::regex::icase);
        std::vector<std::string> targets;
        for (std::sregex_iterator match(sitemap.begin(), sitemap.end(), local), end; match != end; ++match)
            targets.push_back("/" + (*match)[1].str());
        return targets;
    }

    win32::ComPtr<IStorage> storage;
};

TEST_F(HelpFile, EveryPageOfTheContentsAndTheIndexIsInside)
{
    for (const char* sitemap : {"/toc.hhc", "/index.hhk"}) {
        const auto text = Read(sitemap);
        ASSERT_TRUE(text) << sitemap;
        const auto targets = Targets(*text);
        EXPECT_GE(targets.size(), 9u) << sitemap;
        for (const std::string& target : targets)
            EXPECT_TRUE(Read(target)) << target << " of " << sitemap;
    }
}

TEST_F(HelpFile, TheContextsOfPossibleUpgradesAndTechnicalSupportOpenTheirPages)
{
    // #IVB: its length, then pairs of context number and offset of the page's name in #STRINGS.
    const auto pairs = Read("/#IVB");
    const auto strings = Read("/#STRINGS");
    ASSERT_TRUE(pairs && strings);
    std::map<DWORD, std::string> contexts;
    for (size_t at = 4; at + 8 <= pairs->size(); at += 8) {
        DWORD entry[2];
        std::memcpy(entry, pairs->data() + at, sizeof entry);
        ASSERT_LT(entry[1], strings->size());
        contexts[entry[0]] = strings->c_str() + entry[1];
    }
    EXPECT_EQ(contexts, (std::map<DWORD, std::string>{{1002, "/possible-upgrades.htm"}, {1003, "/support.htm"}}))
        << "pages stored under build paths would not open on a user's PC";
    for (const auto& [context, page] : contexts)
        EXPECT_TRUE(Read(page)) << context;
}

TEST_F(HelpFile, ThePopupTextsHoldTopicsOneToSixAndEightAsTheProgramDoes)
{
    const auto file = Read("/Whats_This_Help/Stratigon.txt");
    ASSERT_TRUE(file);
    const std::map<int, std::string> topics = ui::ParsePopupTexts(*file);
    std::set<int> numbers;
    for (const auto& [topic, text] : topics) {
        numbers.insert(topic);
        EXPECT_FALSE(text.empty()) << "topic " << topic;
    }
    EXPECT_EQ(numbers, (std::set<int>{1, 2, 3, 4, 5, 6, 8}));
    EXPECT_EQ(topics, ui::EmbeddedPopupTexts()) << "the program's own popups say the same";
}

}  // namespace
}  // namespace stratigon::test
