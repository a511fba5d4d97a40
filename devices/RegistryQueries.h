// Read-only queries that turn a registry entry for a storage medium into the
// facts the drive list needs. Nothing here changes the registry, and missing
// or mistyped properties give empty or zero results, never an error.
#pragma once

#include "engine/TestModel.h"
#include "platform/Registry.h"

#include <cstdint>

// Generic readers (entry, then its ancestors; then its descendants).
void IOKitGetThisKeyCStr(const RegistryEntry& entry, const char* key, char* text);
const RegistryNumber* IOKitGetThisKeyCFNumber(const RegistryEntry& entry, const char* key);
const RegistryDictionary* IOKitGetThisKeyCFDictionary(const RegistryEntry& entry, const char* key);

// "/dev/" + the kernel name ("BSD Name"); "" when missing. path: 1024 bytes.
void IOKitUtilsGetBDSName(const RegistryEntry& entry, char* path);
void IOKitUtilsGetDeviceSizeInBytes(const RegistryEntry& entry, int64_t* size);
// The write segment limit plus one, or 0 (no known limit).
void IOKitGetMaxSegmenByteCountSize(const RegistryEntry& entry, uint64_t* count);
bool IOKitUtilsIsDeviceWritable(const RegistryEntry& entry);
bool IOKitUtilsMediaHasTOC(const RegistryEntry& entry);
void IOKitUtilsGetDeviceProductNameCStr(const RegistryEntry& entry, char* name);
void IOKitGetMediaIconFileName(const RegistryEntry& entry, char* file);
void IOKitGetMediaIconBundleName(const RegistryEntry& entry, char* bundle);
// Path of the icon file, or, for media described by the icon theme, the
// theme's icon name (the interface falls back to "unknownDevice.icns").
void IOKitGetMediaIconFullPath(const RegistryEntry& entry, char* path);

// How the medium is attached, as a length-prefixed string (buffer >= 256 bytes).
void IOKitUtilsGetDeviceInterfaceInfo(const RegistryEntry& entry, unsigned char* text);
// The same for composite media (software RAID sets), NUL-terminated.
void IOKitUtilsGetNonMediaDeviceInterfaceInfo(const RegistryEntry& entry, char* text);
