#pragma once
// Serialises a response compactly, exactly as browsers' pages expect it:
// no whitespace, object members in ascending byte order of their keys,
// integers in decimal, the JSON escapes for quotation mark, reverse solidus,
// \b \f \n \r \t, "\u00XX" with upper-case hex for the other bytes below 0x20,
// every other byte (0x80-0xFF included, so GBK texts stay GBK) unchanged,
// "null" for a null value, and one closing line feed.
#include <string>

#include <json/value.h>

std::string SerializeResponse(const Json::Value& response);
