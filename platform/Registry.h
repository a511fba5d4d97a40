// A small device registry: a tree of entries, each with a name and typed
// properties (string, number, Boolean, data, dictionary), searched on the
// entry and its ancestors or its descendants. The Linux layer fills it from
// sysfs (and libudev where its database exists); the drive queries read it.
#pragma once

#include "format/RegistryText.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

struct RegistryValue;
using RegistryDictionary = std::map<std::string, RegistryValue>;
using RegistryData = std::vector<unsigned char>;

struct RegistryValue {
    std::variant<std::string, RegistryNumber, bool, RegistryData, RegistryDictionary> value;

    const std::string* AsString() const { return std::get_if<std::string>(&value); }
    const RegistryNumber* AsNumber() const { return std::get_if<RegistryNumber>(&value); }
    const bool* AsBool() const { return std::get_if<bool>(&value); }
    const RegistryData* AsData() const { return std::get_if<RegistryData>(&value); }
    const RegistryDictionary* AsDictionary() const { return std::get_if<RegistryDictionary>(&value); }
};

RegistryValue RegistryString(std::string text);
RegistryValue RegistryInteger(int64_t number, RegistryNumber::Type type = RegistryNumber::Type::SInt64);
RegistryValue RegistryBool(bool flag);
RegistryValue RegistryBytes(RegistryData bytes);

// Search options: without kIterateRecursively only the entry itself is
// looked at; with it, its ancestors (kIterateParents) or descendants.
// Bundle identifier of media whose icon file is an icon-theme name.
inline constexpr const char* kIconThemeBundle = "org.freedesktop.icon-theme";

enum RegistrySearchOptions : unsigned {
    kIterateRecursively = 1u,
    kIterateParents = 2u,
};

class RegistryEntry {
public:
    explicit RegistryEntry(std::string name) : name_(std::move(name)) {}
    RegistryEntry(const RegistryEntry&) = delete;
    RegistryEntry& operator=(const RegistryEntry&) = delete;

    const std::string& Name() const { return name_; }
    const RegistryEntry* Parent() const { return parent_; }
    const std::vector<std::unique_ptr<RegistryEntry>>& Children() const { return children_; }

    // Adds a child entry and returns it; the parent owns it.
    RegistryEntry& AddChild(std::string name);
    // The child with that name, created when absent.
    RegistryEntry& ChildNamed(const std::string& name);

    void Set(const std::string& key, RegistryValue value) { properties_[key] = std::move(value); }
    const RegistryValue* Own(const std::string& key) const;

    // The first entry's value for key in the order given by options:
    // the entry itself, then its ancestors or its descendants (depth first).
    const RegistryValue* Search(const std::string& key, unsigned options) const;

private:
    const RegistryValue* SearchDescendants(const std::string& key) const;

    std::string name_;
    RegistryEntry* parent_ = nullptr;
    std::vector<std::unique_ptr<RegistryEntry>> children_;
    std::map<std::string, RegistryValue> properties_;
};
