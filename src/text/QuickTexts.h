#pragma once
#include <QString>

#include <array>

class EditBuffer;

namespace quicktexts {

constexpr int kCount = 10;

// "user0.txt" .. "user9.txt" in the working folder.
QString fileName(int n);

// The separators, entries 10..12 of the table.
std::array<QString, 3> separators();

// The drop-down entry of a table entry: the number, a blank and the first 15 characters of a
// quick text; the fixed entries for the separators.
QString comboEntry(int k, const QString& text);

// Puts the text in place of the selection; the caret goes behind it.
void insert(EditBuffer& buffer, const QString& text);

} // namespace quicktexts
