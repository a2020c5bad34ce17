#include "common/Registry.h"
#include "AppFixture.h"

namespace {

const wchar_t kTestKey[] = L"Software\\Sortaro\\RegistryTest";

class RegistryTest : public testing::Test {
protected:
    void SetUp() override { WineTest::ClearSettings(); }
    void TearDown() override { WineTest::ClearSettings(); }

    Registry registry;
};

TEST_F(RegistryTest, OpenWithoutCreateLeavesAMissingKeyMissing)
{
    EXPECT_FALSE(registry.OpenKey(kTestKey, KeyAccess::Read));
    EXPECT_FALSE(registry.KeyExists(kTestKey));
    EXPECT_FALSE(registry.ReadString(L"x").has_value());
    EXPECT_FALSE(registry.WriteString(L"x", L"1")) << "nothing is written without an open key";
    EXPECT_TRUE(registry.OpenKey(kTestKey, KeyAccess::Create));
    EXPECT_TRUE(registry.KeyExists(kTestKey));
    // A key opened for reading asks for no write access: reads then work on keys the user may
    // only read.
    ASSERT_TRUE(registry.OpenKey(kTestKey, KeyAccess::Read));
    EXPECT_FALSE(registry.WriteString(L"x", L"1"));
}

TEST_F(RegistryTest, ValuesAsStoredAreReadSafely)
{
    auto setRaw = [](const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
        ASSERT_EQ(SHSetValueW(HKEY_CURRENT_USER, kTestKey, name, type, data, bytes), ERROR_SUCCESS);
    };
    const wchar_t text[] = {L'1', L'0', L'1'}; // no terminating zero
    setRaw(L"unterminated", REG_SZ, text, sizeof(text));
    setRaw(L"odd", REG_SZ, text, sizeof(text) - 1); // half a character at the end
    setRaw(L"inner", REG_SZ, L"ab\0cd", sizeof(L"ab\0cd"));
    const DWORD number = 5;
    setRaw(L"dword", REG_DWORD, &number, sizeof(number));
    setRaw(L"binary", REG_BINARY, "\1\2\3", 3);
    ASSERT_TRUE(registry.OpenKey(kTestKey, KeyAccess::Read));
    const std::pair<const wchar_t*, const wchar_t*> reads[] = {
        {L"unterminated", L"101"}, {L"odd", L"10"}, {L"inner", L"ab"}, {L"dword", L"<none>"}, {L"binary", L"<none>"}};
    for (const auto& [name, read] : reads)
        EXPECT_EQ(registry.ReadString(name).value_or(L"<none>"), read) << name;
    int value = 7;
    registry.ReadNumber(L"dword", value);
    EXPECT_EQ(value, 7) << "a value that holds no text is no number either";
}

} // namespace
