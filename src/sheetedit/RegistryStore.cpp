#include "sheetedit/RegistryStore.h"

#include "platform/win/Registry.h"

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

// An open key, closed when the scope ends however it ends.
class Key {
public:
    Key() = default;
    ~Key()
    {
        if (m_handle != nullptr)
            RegCloseKey(m_handle);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    Key(Key&& other) noexcept : m_handle(other.m_handle) { other.m_handle = nullptr; }
    Key& operator=(Key&&) = delete;

    HKEY get() const { return m_handle; }
    HKEY* out() { return &m_handle; }

    // The key at path, made with all access when it is missing.
    static std::optional<Key> create(HKEY root, const Kx_String& path)
    {
        Key key;
        if (RegCreateKeyEx(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                           key.out(), nullptr) != ERROR_SUCCESS)
            return std::nullopt;
        return key;
    }
    static std::optional<Key> open(HKEY root, const Kx_String& path, DWORD access)
    {
        Key key;
        if (RegOpenKeyEx(root, path.c_str(), 0, access, key.out()) != ERROR_SUCCESS)
            return std::nullopt;
        return key;
    }

private:
    HKEY m_handle = nullptr;
};

// Registry calls may run out of memory in our own buffers; nothing of that leaves the store.
template <typename F>
bool guarded(F&& f) noexcept
{
    try {
        return f();
    } catch (...) {
        return false;
    }
}

Kx_String subKeyPath(const Kx_String& keyPath, const Kx_String& name)
{
    if (keyPath.isEmpty())
        return name;
    Kx_String path = keyPath;
    if (!path.endsWith("\\"))
        path.append('\\');
    return path + name;
}

bool setValue(HKEY key, const Kx_String& name, DWORD type, const void* data, std::size_t size)
{
    return RegSetValueEx(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size)) ==
           ERROR_SUCCESS;
}

bool writeValue(HKEY root, const Kx_String& keyPath, const Kx_String& name, DWORD type, const void* data,
                std::size_t size)
{
    const std::optional<Key> key = Key::create(root, keyPath);
    return key && setValue(key->get(), name, type, data, size);
}

// The whole value of `name` in an open key: the size is asked first, then the bytes are read. The
// value may change in between (another process writes), so a grown value is asked for again.
std::optional<std::vector<BYTE>> queryValue(HKEY key, const Kx_String& name, DWORD& type)
{
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD size = 0;
        if (RegQueryValueEx(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return std::nullopt;
        std::vector<BYTE> data(size);
        DWORD got = size;
        const LONG result = RegQueryValueEx(key, name.c_str(), nullptr, &type, data.empty() ? nullptr : data.data(),
                                            &got);
        if (result == ERROR_MORE_DATA)
            continue;
        if (result != ERROR_SUCCESS || got > size)
            return std::nullopt;
        data.resize(got);
        return data;
    }
    return std::nullopt;
}

std::optional<std::vector<BYTE>> readValue(HKEY root, const Kx_String& keyPath, const Kx_String& name, DWORD& type)
{
    const std::optional<Key> key = Key::open(root, keyPath, KEY_READ);
    if (!key)
        return std::nullopt;
    return queryValue(key->get(), name, type);
}

// A value of exactly `size` bytes and one of the types given, copied to out.
bool readFixed(HKEY key, const Kx_String& name, DWORD wantedType, void* out, std::size_t size)
{
    DWORD type = REG_NONE;
    const std::optional<std::vector<BYTE>> data = queryValue(key, name, type);
    if (!data || type != wantedType || data->size() != size)
        return false;
    std::memcpy(out, data->data(), size);
    return true;
}

bool readFixed(HKEY root, const Kx_String& keyPath, const Kx_String& name, DWORD wantedType, void* out,
               std::size_t size)
{
    const std::optional<Key> key = Key::open(root, keyPath, KEY_READ);
    return key && readFixed(key->get(), name, wantedType, out, size);
}

std::optional<std::string> stringOf(const std::vector<BYTE>& data, DWORD type)
{
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return std::nullopt;
    const char* text = reinterpret_cast<const char*>(data.data());
    std::size_t length = 0;
    while (length < data.size() && text[length] != '\0')
        ++length;
    return std::string(text, length);
}

// The names of sub-keys (values == false) or values, in index order.
bool enumerate(HKEY root, const Kx_String& keyPath, bool values, Kx_StringArray& names)
{
    names.removeAll();
    const std::optional<Key> key = Key::open(root, keyPath, KEY_READ);
    if (!key)
        return false;
    DWORD longest = 0;
    if (RegQueryInfoKey(key->get(), nullptr, nullptr, nullptr, nullptr, values ? nullptr : &longest, nullptr, nullptr,
                        values ? &longest : nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    std::vector<char> buffer(static_cast<std::size_t>(longest) + 1);
    Kx_StringArray found;
    for (DWORD index = 0;;) {
        DWORD size = static_cast<DWORD>(buffer.size());
        const LONG result = values ? RegEnumValue(key->get(), index, buffer.data(), &size, nullptr, nullptr, nullptr,
                                                  nullptr)
                                   : RegEnumKeyEx(key->get(), index, buffer.data(), &size, nullptr, nullptr, nullptr,
                                                  nullptr);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result == ERROR_MORE_DATA) {
            // A longer name was added since the key was asked; size holds what it needs.
            if (size <= buffer.size())
                return false;
            buffer.resize(size);
            continue;
        }
        if (result != ERROR_SUCCESS)
            return false;
        found.append(Kx_String(std::string_view(buffer.data(), size)));
        ++index;
    }
    names = found;
    return true;
}

} // namespace

bool RegistryStore::writeString(HKEY root, const Kx_String& keyPath, const Kx_String& name, const Kx_String& value)
{
    return guarded([&] { return writeValue(root, keyPath, name, REG_SZ, value.c_str(), value.str().size() + 1); });
}

bool RegistryStore::readString(HKEY root, const Kx_String& keyPath, const Kx_String& name, Kx_String& value)
{
    return guarded([&] {
        DWORD type = REG_NONE;
        const std::optional<std::vector<BYTE>> data = readValue(root, keyPath, name, type);
        if (!data)
            return false;
        std::optional<std::string> text = stringOf(*data, type);
        if (!text)
            return false;
        value = Kx_String(std::move(*text));
        return true;
    });
}

bool RegistryStore::writeInt(HKEY root, const Kx_String& keyPath, const Kx_String& name, std::int32_t value)
{
    return guarded([&] { return writeValue(root, keyPath, name, REG_DWORD, &value, sizeof value); });
}

bool RegistryStore::readInt(HKEY root, const Kx_String& keyPath, const Kx_String& name, std::int32_t& value)
{
    return guarded([&] { return readFixed(root, keyPath, name, REG_DWORD, &value, sizeof value); });
}

bool RegistryStore::writeInt64(HKEY root, const Kx_String& keyPath, const Kx_String& name, std::int64_t value)
{
    return guarded([&] { return writeValue(root, keyPath, name, REG_BINARY, &value, sizeof value); });
}

bool RegistryStore::readInt64(HKEY root, const Kx_String& keyPath, const Kx_String& name, std::int64_t& value)
{
    return guarded([&] { return readFixed(root, keyPath, name, REG_BINARY, &value, sizeof value); });
}

bool RegistryStore::writeDouble(HKEY root, const Kx_String& keyPath, const Kx_String& name, double value)
{
    return guarded([&] { return writeValue(root, keyPath, name, REG_BINARY, &value, sizeof value); });
}

bool RegistryStore::readDouble(HKEY root, const Kx_String& keyPath, const Kx_String& name, double& value)
{
    return guarded([&] { return readFixed(root, keyPath, name, REG_BINARY, &value, sizeof value); });
}

bool RegistryStore::writeRect(HKEY root, const Kx_String& keyPath, const Kx_String& name, const RECT& value)
{
    const std::int32_t parts[4] = {value.left, value.top, value.right, value.bottom};
    return guarded([&] { return writeValue(root, keyPath, name, REG_BINARY, parts, sizeof parts); });
}

bool RegistryStore::readRect(HKEY root, const Kx_String& keyPath, const Kx_String& name, RECT& value)
{
    std::int32_t parts[4] = {};
    if (!guarded([&] { return readFixed(root, keyPath, name, REG_BINARY, parts, sizeof parts); }))
        return false;
    value.left = parts[0];
    value.top = parts[1];
    value.right = parts[2];
    value.bottom = parts[3];
    return true;
}

bool RegistryStore::writeIntArray(HKEY root, const Kx_String& keyPath, const Kx_String& name,
                                  const Kx_Array<std::int32_t>& values)
{
    return guarded([&] {
        std::vector<std::int32_t> data(static_cast<std::size_t>(values.length()));
        for (int i = 0; i < values.length(); ++i)
            data[static_cast<std::size_t>(i)] = values[i];
        return writeValue(root, keyPath, name, REG_BINARY, data.data(), data.size() * sizeof(std::int32_t));
    });
}

bool RegistryStore::readIntArray(HKEY root, const Kx_String& keyPath, const Kx_String& name,
                                 Kx_Array<std::int32_t>& values)
{
    return guarded([&] {
        DWORD type = REG_NONE;
        const std::optional<std::vector<BYTE>> data = readValue(root, keyPath, name, type);
        if (!data || type != REG_BINARY || data->size() % sizeof(std::int32_t) != 0)
            return false;
        Kx_Array<std::int32_t> read;
        read.setLogicalLength(static_cast<int>(data->size() / sizeof(std::int32_t)));
        for (int i = 0; i < read.length(); ++i)
            std::memcpy(&read[i], data->data() + static_cast<std::size_t>(i) * sizeof(std::int32_t),
                        sizeof(std::int32_t));
        values = std::move(read);
        return true;
    });
}

bool RegistryStore::writeFont(HKEY root, const Kx_String& keyPath, const Kx_String& fontName, const LOGFONT* font)
{
    if (fontName.isEmpty())
        return false;
    const Kx_String path = subKeyPath(keyPath, fontName);
    if (font == nullptr)
        return deleteKey(root, path);
    return guarded([&] {
        const std::optional<Key> key = Key::create(root, path);
        if (!key)
            return false;
        const std::int32_t height = font->lfHeight;
        const std::int32_t weight = font->lfWeight;
        return setValue(key->get(), "lfHeight", REG_DWORD, &height, sizeof height) &&
               setValue(key->get(), "lfWeight", REG_DWORD, &weight, sizeof weight) &&
               setValue(key->get(), "lfItalic", REG_BINARY, &font->lfItalic, 1) &&
               setValue(key->get(), "lfUnderline", REG_BINARY, &font->lfUnderline, 1) &&
               setValue(key->get(), "lfStrikeOut", REG_BINARY, &font->lfStrikeOut, 1) &&
               setValue(key->get(), "lfFaceName", REG_SZ, font->lfFaceName.c_str(), font->lfFaceName.size() + 1);
    });
}

bool RegistryStore::readFont(HKEY root, const Kx_String& keyPath, const Kx_String& fontName, LOGFONT& font)
{
    if (fontName.isEmpty())
        return false;
    return guarded([&] {
        const std::optional<Key> key = Key::open(root, subKeyPath(keyPath, fontName), KEY_READ);
        if (!key)
            return false;
        LOGFONT read = font;
        std::int32_t height = 0;
        std::int32_t weight = 0;
        if (!readFixed(key->get(), "lfHeight", REG_DWORD, &height, sizeof height) ||
            !readFixed(key->get(), "lfWeight", REG_DWORD, &weight, sizeof weight) ||
            !readFixed(key->get(), "lfItalic", REG_BINARY, &read.lfItalic, 1) ||
            !readFixed(key->get(), "lfUnderline", REG_BINARY, &read.lfUnderline, 1) ||
            !readFixed(key->get(), "lfStrikeOut", REG_BINARY, &read.lfStrikeOut, 1))
            return false;
        DWORD type = REG_NONE;
        const std::optional<std::vector<BYTE>> face = queryValue(key->get(), "lfFaceName", type);
        std::optional<std::string> faceName = face ? stringOf(*face, type) : std::nullopt;
        if (!faceName)
            return false;
        read.lfHeight = height;
        read.lfWeight = weight;
        read.lfFaceName = std::move(*faceName);
        font = std::move(read);
        return true;
    });
}

bool RegistryStore::deleteValue(HKEY root, const Kx_String& keyPath, const Kx_String& name)
{
    return guarded([&] {
        const std::optional<Key> key = Key::open(root, keyPath, KEY_SET_VALUE);
        return key && RegDeleteValue(key->get(), name.c_str()) == ERROR_SUCCESS;
    });
}

bool RegistryStore::deleteKey(HKEY root, const Kx_String& keyPath)
{
    if (keyPath.isEmpty())
        return false;
    return guarded([&] { return RegDeleteTree(root, keyPath.c_str()) == ERROR_SUCCESS; });
}

bool RegistryStore::enumerateSubKeys(HKEY root, const Kx_String& keyPath, Kx_StringArray& names)
{
    return guarded([&] { return enumerate(root, keyPath, /*values=*/false, names); });
}

bool RegistryStore::enumerateValues(HKEY root, const Kx_String& keyPath, Kx_StringArray& names)
{
    return guarded([&] { return enumerate(root, keyPath, /*values=*/true, names); });
}
