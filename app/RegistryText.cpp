#include "app/RegistryText.h"

namespace Quoril {

LONG ReadRegistryString(
    ISystemServices& services, HKEY root, const char* subKey, const char* valueName, char* buffer, DWORD* size)
{
    if (!buffer || !size || *size == 0)
        return ERROR_INVALID_PARAMETER;
    if (services.HasRegGetValue()) {
        // RegGetValueA always terminates the text, or fails when the terminator does not fit.
        return services.RegistryGetValue(root, subKey, valueName, RRF_RT_REG_SZ, buffer, size);
    }
    HKEY key = nullptr;
    LONG result = services.RegistryOpenKey(root, subKey, KEY_READ, &key);
    if (result != ERROR_SUCCESS)
        return result;
    // RegQueryValueExA does not promise a terminator: read one byte less than the buffer holds
    // and terminate at the length it reports, so neither a full-length value nor the tail of an
    // earlier, longer read can run into the text.
    const DWORD capacity = *size;
    DWORD type = REG_SZ;
    DWORD length = capacity - 1;
    result = services.RegistryQueryValue(key, valueName, &type, reinterpret_cast<BYTE*>(buffer), &length);
    services.RegistryCloseKey(key);
    if (result != ERROR_SUCCESS)
        return result;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return ERROR_UNSUPPORTED_TYPE;
    if (length > capacity - 1)
        return ERROR_MORE_DATA;
    buffer[length] = '\0';
    // The size comes back as RegGetValueA reports it: the text and one terminator.
    *size = (length > 0 && buffer[length - 1] == '\0') ? length : length + 1;
    return ERROR_SUCCESS;
}

}  // namespace Quoril
