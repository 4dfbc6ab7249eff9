// Free functions over lists of texts: splitting and joining on a separator, rows of cells to lines and
// back, unique and sorted names. Number lists (rounding, sorting keys) live in NumberLists.h.
#pragma once

#include <string>
#include <string_view>

#include "core/KxCoreExport.h"
#include "core/Kx_Array.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"

// Splits text at every character c into out (replacing what out held). Empty fields are kept: "a,,b"
// gives "a", "", "b" and "a," gives "a", "". The empty text gives an empty list. c is one byte: an
// ASCII separator as usual, or a byte that UTF-8 never uses on its own such as 0xBF; such a byte
// separates only where it stands alone, never inside a character (ÿ is C3 BF and stays whole).
// Splitting then joining with the same c gives back the text. Joining then splitting gives back the
// list when no field contains c, except the list of one empty field, which comes back empty.
KXCORE_API void strToArr(const Kx_String& text, char c, Kx_StringArray& out);
// The fields joined with c between them (none after the last); the empty list gives "".
KXCORE_API Kx_String arrToStr(const Kx_StringArray& list, char c);

// A list of up to five texts, for filling fixed combo lists: s1 to s5 in order, without the empty
// texts at the end, so stringArr("a", "b", "c", "", "") has three entries and a caller's choice index
// still points at the same text. Empty texts between given ones stay, to keep positions.
KXCORE_API Kx_StringArray stringArr(const Kx_String& s1 = "", const Kx_String& s2 = "", const Kx_String& s3 = "",
                                    const Kx_String& s4 = "", const Kx_String& s5 = "");

// Rows of cells to one line per row, the cells joined with c (arrToStr). Refuses (false, lines
// untouched) when a line would not split back into the same row: a cell that holds c, a cell that
// holds a line break (CR or LF, so one row stays one line of a file), or a cell ending in a partial
// UTF-8 character that c would complete. A row of one empty cell gives an empty line, which splits
// back into an empty row.
KXCORE_API bool arrArrToArr(const Kx_Array<Kx_StringArray>& rows, char c, Kx_StringArray& lines);
// Lines back to rows, each line split at c (strToArr); out is replaced. An empty line gives an empty
// row, so the row count always equals the line count.
KXCORE_API void arrToArrArr(const Kx_StringArray& lines, char c, Kx_Array<Kx_StringArray>& rows);

// A name that is not in list, comparing as a user would (case ignored): base itself when it is not
// empty and free, otherwise base followed by the smallest number from 1 on that is free ("Table",
// "Table1", "Table2", ...).
KXCORE_API Kx_String findNonExistingString(const Kx_StringArray& list, const Kx_String& base);

// text without the decimal digits at its end and the blanks before them ("Stair 12" -> "Stair",
// "Beam2" -> "Beam"). A text that is nothing but digits and blanks is returned as it is, so that a
// name never becomes empty.
KXCORE_API Kx_String stripNumbersAtEnd(const Kx_String& text);
// Every text of list so treated, in the same order.
KXCORE_API Kx_StringArray stripNumbersAtEnd(const Kx_StringArray& list);
// Whether two entries of list are equal (exact == false: ignoring case as Kx_String::equal does).
KXCORE_API bool hasDuplicates(const Kx_StringArray& list, bool exact = true);

// One field of a tab-separated line, as the command-line tools print cells and items: backslash, tab,
// line feed and carriage return written as \\, \t, \n and \r, everything else as it is.
KXCORE_API std::string escapeLineField(std::string_view text);

// The order in which names of sections and macros are listed: runs of digits compare by their value
// ("IPE 80" < "IPE 100"), a run right after a '.' or ',' that follows a digit compares as a decimal
// fraction ("2.5" > "2.25"), other characters compare ignoring case (as Kx_String::equal with false)
// by code point. Texts that are equal so far are ordered by their bytes, so only identical texts
// compare equal. Negative, zero or positive like strcmp.
KXCORE_API int naturalCompare(const Kx_String& a, const Kx_String& b);

// Inserts text into list, which is kept in naturalCompare order, after the entries that do not sort
// after it, and returns the index it was given. For a list that is not sorted, text goes before the
// first entry that sorts after it (at the end when there is none).
KXCORE_API int ObjectExportAddToSorted(Kx_StringArray& list, const Kx_String& text);
