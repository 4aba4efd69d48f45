#include "installer/core/Registry.h"

#include "installer/core/Errors.h"

namespace ld::deckinstall {

bool TRegistry::OpenKey(const std::string& path)
{
    CloseKey();
    TKeyHandle key = 0;
    if (!FOs.OpenKey(FRootKey, path, key))
        return false;
    FCurrentKey = key;
    FKeyOpen = true;
    return true;
}

void TRegistry::CloseKey()
{
    if (FKeyOpen)
        FOs.CloseKey(FCurrentKey);
    FKeyOpen = false;
    FCurrentKey = 0;
}

std::string TRegistry::ReadString(const std::string& name)
{
    if (!FKeyOpen)
        throw ERegistryException("Failed to get data for '" + name + "'");
    TRegValueData data;
    switch (FOs.QueryValue(FCurrentKey, name, data)) {
    case TQueryResult::NotFound:
        return std::string();
    case TQueryResult::Failed:
        throw ERegistryException("Failed to get data for '" + name + "'");
    case TQueryResult::Ok:
        break;
    }
    if (data.Bytes.empty())
        return std::string();
    if (data.Type != REG_SZ && data.Type != REG_EXPAND_SZ)
        throw ERegistryException("Invalid data type for '" + name + "'");
    const size_t zero = data.Bytes.find('\0');
    return zero == std::string::npos ? data.Bytes : data.Bytes.substr(0, zero);
}

void TRegistry::WriteString(const std::string& name, const std::string& value)
{
    if (!FKeyOpen || !FOs.SetStringValue(FCurrentKey, name, value))
        throw ERegistryException("Failed to set data for '" + name + "'");
}

std::vector<std::string> TRegistry::GetValueNames()
{
    if (!FKeyOpen)
        return {};
    return FOs.ValueNames(FCurrentKey);
}

void TRegistry::DeleteValue(const std::string& name)
{
    if (FKeyOpen)
        FOs.DeleteValue(FCurrentKey, name);
}

} // namespace ld::deckinstall
