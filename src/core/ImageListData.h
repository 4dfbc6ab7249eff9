// ImageListData: what a thumbnail list (CImageListCtrl) shows: per entry a picture file and the
// name shown under its thumbnail, and the thumbnails' size. Plain data; reading the pictures is the
// control's.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"

#include <vector>

class KXCORE_API ImageListData {
public:
    // Adds an entry; an empty name shows the file's name without folder and extension.
    // Returns the entry's index.
    int append(const Kx_String& file, const Kx_String& name = Kx_String());
    // Replaces the entries with one per file; names[i] is shown under file i, and files beyond the
    // names (or with an empty name) show their file name as append does.
    void set(const Kx_StringArray& files, const Kx_StringArray& names);
    void removeAll() { m_entries.clear(); }
    int length() const { return static_cast<int>(m_entries.size()); }
    bool isEmpty() const { return m_entries.empty(); }

    // Empty for an index out of range.
    Kx_String getFile(int index) const;
    Kx_String getName(int index) const;
    // The first entry with this file (compared as typed, '\' and '/' alike, ignoring case as file
    // names on the add-on's platform do); -1 when none.
    int findFile(const Kx_String& file) const;

    // The thumbnails' size in pixels. 0 x 0 (the default) takes the size of the first picture that
    // can be read. Negative values count as 0.
    void setThumbnailSize(int width, int height);
    int thumbnailWidth() const { return m_width; }
    int thumbnailHeight() const { return m_height; }

    bool operator==(const ImageListData&) const = default;

private:
    struct Entry {
        Kx_String file;
        Kx_String name;
        bool operator==(const Entry&) const = default;
    };
    std::vector<Entry> m_entries;
    int m_width = 0;
    int m_height = 0;
};
