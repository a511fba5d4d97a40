#include "platform/Registry.h"

RegistryValue RegistryString(std::string text)
{
    return RegistryValue{std::move(text)};
}

RegistryValue RegistryInteger(int64_t number, RegistryNumber::Type type)
{
    RegistryNumber value;
    value.type = type;
    value.integer = number;
    return RegistryValue{value};
}

RegistryValue RegistryBool(bool flag)
{
    return RegistryValue{flag};
}

RegistryValue RegistryBytes(RegistryData bytes)
{
    return RegistryValue{std::move(bytes)};
}

RegistryEntry& RegistryEntry::AddChild(std::string name)
{
    children_.push_back(std::make_unique<RegistryEntry>(std::move(name)));
    children_.back()->parent_ = this;
    return *children_.back();
}

RegistryEntry& RegistryEntry::ChildNamed(const std::string& name)
{
    for (const auto& child : children_) {
        if (child->name_ == name)
            return *child;
    }
    return AddChild(name);
}

const RegistryValue* RegistryEntry::Own(const std::string& key) const
{
    const auto found = properties_.find(key);
    return found == properties_.end() ? nullptr : &found->second;
}

const RegistryValue* RegistryEntry::SearchDescendants(const std::string& key) const
{
    for (const auto& child : children_) {
        if (const RegistryValue* value = child->Own(key))
            return value;
        if (const RegistryValue* value = child->SearchDescendants(key))
            return value;
    }
    return nullptr;
}

const RegistryValue* RegistryEntry::Search(const std::string& key, unsigned options) const
{
    if (const RegistryValue* value = Own(key))
        return value;
    if ((options & kIterateRecursively) == 0)
        return nullptr;
    if (options & kIterateParents) {
        for (const RegistryEntry* entry = parent_; entry; entry = entry->parent_) {
            if (const RegistryValue* value = entry->Own(key))
                return value;
        }
        return nullptr;
    }
    return SearchDescendants(key);
}
