#pragma once
// Text forms: a form image written as text, so that a form's layout can be kept as data
// beside the code and read at run time.
//
//   object lxTreeViewEditor: TlxTreeViewEditor
//     Caption = 'lxTreeView Item Editor'
//     Font.Height = -11
//     OnShow = FormShow
//     object Tree: TlxTreeView
//       Anchors = [akLeft, akTop, akRight, akBottom]
//       OnChange = TreeChange
//     end
//   end
//
// One statement a line: "object Name: Class", "end", or "Property = value". Values are
// integers (decimal, or hexadecimal after '$'), strings in single quotes ('' inside one
// stands for a quote; quoted pieces may be joined with +), True and False, identifiers,
// sets of identifiers in brackets, and lists in parentheses: strings or integers, one a
// line, up to the line that ends with ')', read as one string of their lines (the form a
// string list's Text takes). An identifier registered with RegisterIdentifiers
// stands for its value (an enumeration's ordinal, a colour); any other identifier names
// a method of the form, the handler of an event property. Objects nested in the root are
// owned by it and held (GetParentComponent) by the object they are nested in. Empty lines
// and lines starting with "//" are skipped.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/framework/Streaming.h"

// Names that text forms may use for values. A set's element stands for the bit of its
// value.
void RegisterIdentifiers(const std::vector<std::pair<std::string, std::int64_t>>& Identifiers);
std::optional<std::int64_t> IdentifierValue(const std::string& Name);

// Parses a text form; EReadError naming the line for text that is not one.
TFormImage ParseTextForm(const std::string& Text);
// Parses the text and applies it to Root as ApplyFormImage does.
void ReadTextForm(const std::string& Text, TComponent* Root);
