// ImageListData: the entries of a thumbnail list.
#include "core/ImageListData.h"

#include "core/Paths.h"

#include <algorithm>

namespace {

Kx_String shownName(const Kx_String& file, const Kx_String& name)
{
    return name.isEmpty() ? removeExtension(getFileName(file)) : name;
}

Kx_String withSlashes(const Kx_String& path)
{
    Kx_String out = path;
    out.replaceSubString("\\", "/");
    return out;
}

} // namespace

int ImageListData::append(const Kx_String& file, const Kx_String& name)
{
    m_entries.push_back(Entry{file, shownName(file, name)});
    return length() - 1;
}

void ImageListData::set(const Kx_StringArray& files, const Kx_StringArray& names)
{
    std::vector<Entry> entries;
    entries.reserve(static_cast<size_t>(files.length()));
    for (int i = 0; i < files.length(); ++i)
        entries.push_back(Entry{files[i], shownName(files[i], i < names.length() ? names[i] : Kx_String())});
    m_entries = std::move(entries);
}

Kx_String ImageListData::getFile(int index) const
{
    return index >= 0 && index < length() ? m_entries[static_cast<size_t>(index)].file : Kx_String();
}

Kx_String ImageListData::getName(int index) const
{
    return index >= 0 && index < length() ? m_entries[static_cast<size_t>(index)].name : Kx_String();
}

int ImageListData::findFile(const Kx_String& file) const
{
    const Kx_String wanted = withSlashes(file);
    for (int i = 0; i < length(); ++i) {
        if (withSlashes(m_entries[static_cast<size_t>(i)].file).equal(wanted, /*exact=*/false))
            return i;
    }
    return -1;
}

void ImageListData::setThumbnailSize(int width, int height)
{
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
}
