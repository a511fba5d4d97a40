// Read-only queries that turn a registry entry for a storage medium (filled
// from sysfs and the udev database) into the facts the drive list needs.
// Nothing here changes the registry, and missing or mistyped properties give
// empty or zero results, never an error.
#pragma once

#include "platform/Registry.h"

#include <cstdint>
#include <string>

// Generic readers (entry, then its ancestors; then its descendants).
const RegistryNumber* RegistryNumberOf(const RegistryEntry& entry, const char* key);
const RegistryDictionary* RegistryDictionaryOf(const RegistryEntry& entry, const char* key);

// "/dev/" + the kernel name; "" when missing.
std::string DeviceNodePath(const RegistryEntry& entry);
int64_t DeviceSizeBytes(const RegistryEntry& entry);
// The largest transfer the device takes, from its segment-count properties,
// plus one; 0 for no known limit. sysfs gives none: the block layer splits
// a large read or write into requests the queue takes.
uint64_t MaxTransferBytes(const RegistryEntry& entry);
bool IsDeviceWritable(const RegistryEntry& entry);
// An optical disc (it carries a table of contents).
bool HasTableOfContents(const RegistryEntry& entry);
// The device's model, blanks around it removed.
std::string DeviceModelName(const RegistryEntry& entry);
// Path of the icon file, or, for media described by the icon theme, the
// theme's icon name (the interface falls back to "unknownDevice.icns").
std::string DeviceIconPath(const RegistryEntry& entry);

// How the medium is attached ("NVMe:  Namespace = 1"), at most 255 bytes.
std::string DeviceInterfaceText(const RegistryEntry& entry);
// The same for composite media (software RAID sets).
std::string CompositeDeviceInterfaceText(const RegistryEntry& entry);
