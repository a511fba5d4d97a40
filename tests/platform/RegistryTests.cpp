// Search orders of the registry model: the entry itself, then its ancestors
// nearest first, or its descendants depth first.
#include "platform/BlockStack.h"
#include "platform/Registry.h"

#include <gtest/gtest.h>

namespace {

TEST(Registry, SearchOrders)
{
    RegistryEntry root("root");
    RegistryEntry& bus = root.AddChild("bus");
    RegistryEntry& device = bus.AddChild("device");
    RegistryEntry& first = device.AddChild("first");
    RegistryEntry& deep = first.AddChild("deep");
    RegistryEntry& second = device.AddChild("second");
    root.Set("k", RegistryString("root"));
    bus.Set("k", RegistryString("bus"));
    bus.Set("only-bus", RegistryString("bus"));
    deep.Set("down", RegistryString("deep"));
    second.Set("down", RegistryString("second"));
    device.Set("own", RegistryString("device"));

    const unsigned up = kIterateRecursively | kIterateParents;
    const unsigned own = kIterateParents;  // without recursion: the entry alone
    const unsigned down = kIterateRecursively;
    const std::tuple<const RegistryEntry*, const char*, unsigned, const char*> rows[] = {
        {&device, "k", up, "bus"},              // nearest ancestor
        {&bus, "k", up, "bus"},                 // the entry before its ancestors
        {&deep, "only-bus", up, "bus"},
        {&device, "k", own, "(none)"},
        {&device, "own", own, "device"},
        {&device, "down", down, "deep"},        // depth first, in child order
        {&device, "down", up, "(none)"},        // ancestors only, never children
    };
    for (const auto& [entry, key, options, expected] : rows) {
        const RegistryValue* value = entry->Search(key, options);
        const std::string* text = value ? value->AsString() : nullptr;
        EXPECT_EQ(expected, text ? *text : "(none)") << entry->Name() << " " << key << " " << options;
    }
}

}  // namespace

// udev writes a model's spaces (and anything outside plain ASCII) as \xNN.
TEST(UdevStrings, EncodedBytesComeBack)
{
    const std::pair<const char*, const char*> rows[] = {
        {"Samsung\\x20SSD\\x20860\\x20EVO", "Samsung SSD 860 EVO"},
        {"B\\xc3\\xa4nde", "B\xC3\xA4nde"},
        {"no\\xZZescape\\x2", "no\\xZZescape\\x2"},
    };
    for (const auto& [encoded, decoded] : rows)
        EXPECT_EQ(decoded, DecodeUdevString(encoded)) << encoded;
}
