// Kx_PropertiesList: named int, double and text values in the order they were first set, read from
// and written to the property-list file (docs/property-list-format.md). Layouts and settings of the
// add-on's modules are stored this way. What a property means belongs to the caller.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"

#include <memory>
#include <string>
#include <string_view>

class KXCORE_API Kx_PropertiesList {
public:
    Kx_PropertiesList() noexcept;
    ~Kx_PropertiesList();
    Kx_PropertiesList(const Kx_PropertiesList& other);
    Kx_PropertiesList& operator=(const Kx_PropertiesList& other);
    Kx_PropertiesList(Kx_PropertiesList&& other) noexcept;
    Kx_PropertiesList& operator=(Kx_PropertiesList&& other) noexcept;

    // Replaces the properties by those of the file. On failure (missing file, damaged file, a
    // file past the library limits) prints "*Error* <file>, line <n>: <what>." or the reading
    // error on the command line, returns false and keeps the properties as they were.
    bool readFromFile(const Kx_String& path);
    // Writes the properties through the save routine: the file holds either its old content or
    // the complete new one. False with a message on the command line when saving fails or a
    // property is too long for the format's line limit (1 MiB).
    bool writeToFile(const Kx_String& path) const;

    // readFromFile on text already in memory; sourceName names it in messages. The first
    // overload prints the message, the second returns it in error and prints nothing.
    bool readFromText(std::string_view text, std::string_view sourceName = "<text>");
    bool readFromText(std::string_view text, std::string_view sourceName, std::string& error);
    // The file text writeToFile writes.
    std::string toText() const;

    // The value of name when it holds a value of that type. An absent name or one holding
    // another type returns false and leaves value as it was.
    bool getProperty(const Kx_String& name, int& value) const;
    bool getProperty(const Kx_String& name, double& value) const;
    bool getProperty(const Kx_String& name, Kx_String& value) const;
    // Sets name to value: a new name goes to the end, an existing one keeps its place and takes
    // the new value and type. Any name and any text are accepted; the file keeps them exactly.
    void setProperty(const Kx_String& name, int value);
    void setProperty(const Kx_String& name, double value);
    void setProperty(const Kx_String& name, const Kx_String& value);
    void setProperty(const Kx_String& name, const char* value) { setProperty(name, Kx_String(value)); }

    bool hasProperty(const Kx_String& name) const;
    // False when there was no such property.
    bool removeProperty(const Kx_String& name);
    void removeAll();
    int getNrProperties() const;
    // The names in order.
    Kx_StringArray getNames() const;

    // Same names, types and values in the same order (doubles compared bit for bit).
    bool operator==(const Kx_PropertiesList& other) const;

private:
    struct Impl;
    // Made on first use, so that constructing and moving never allocate; null reads as empty.
    std::unique_ptr<Impl> m_impl;
};
