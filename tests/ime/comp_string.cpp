// Lays out the test IME's composition block.
#include "comp_string.h"

#include <cstring>
#include <string>

namespace {

// Appends bytes at a 4-byte aligned position (clause tables are DWORD arrays) and returns
// their offset from the start of the block.
uint32_t Append(std::vector<uint8_t>* block, const void* data, size_t size) {
    while (block->size() % 4 != 0) block->push_back(0);
    uint32_t offset = static_cast<uint32_t>(block->size());
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    block->insert(block->end(), bytes, bytes + size);
    return offset;
}

// A string with its NUL; its length in characters of its own kind.
template <typename Char>
void AppendString(std::vector<uint8_t>* block, const Char* text, uint32_t* length, uint32_t* offset) {
    *length = static_cast<uint32_t>(std::char_traits<Char>::length(text));
    *offset = Append(block, text, (*length + 1) * sizeof(Char));
}

void AppendAttributes(std::vector<uint8_t>* block, uint32_t textLength, uint8_t attribute,
                      uint32_t* length, uint32_t* offset) {
    std::vector<uint8_t> attributes(textLength, attribute);
    *length = textLength;
    *offset = Append(block, attributes.data(), attributes.size());
}

// One clause covering the whole text: {0, length}; an empty text has no clause table.
void AppendClause(std::vector<uint8_t>* block, uint32_t textLength, uint32_t* length,
                  uint32_t* offset) {
    const uint32_t clause[2] = {0, textLength};
    *length = textLength ? sizeof(clause) : 0;
    *offset = Append(block, clause, *length);
}

template <typename Char, typename Content>
std::vector<uint8_t> Build(const Content& content) {
    CompStringHeader header = {};
    std::vector<uint8_t> block(sizeof(header), 0);

    AppendString<Char>(&block, content.reading, &header.dwCompReadStrLen, &header.dwCompReadStrOffset);
    AppendAttributes(&block, header.dwCompReadStrLen, content.attribute,
                     &header.dwCompReadAttrLen, &header.dwCompReadAttrOffset);
    AppendClause(&block, header.dwCompReadStrLen, &header.dwCompReadClauseLen,
                 &header.dwCompReadClauseOffset);

    AppendString<Char>(&block, content.composition, &header.dwCompStrLen, &header.dwCompStrOffset);
    AppendAttributes(&block, header.dwCompStrLen, content.attribute, &header.dwCompAttrLen,
                     &header.dwCompAttrOffset);
    AppendClause(&block, header.dwCompStrLen, &header.dwCompClauseLen,
                 &header.dwCompClauseOffset);
    header.dwCursorPos = header.dwCompStrLen;
    header.dwDeltaStart = 0;

    AppendString<Char>(&block, content.resultReading, &header.dwResultReadStrLen,
                       &header.dwResultReadStrOffset);
    AppendClause(&block, header.dwResultReadStrLen, &header.dwResultReadClauseLen,
                 &header.dwResultReadClauseOffset);
    AppendString<Char>(&block, content.result, &header.dwResultStrLen, &header.dwResultStrOffset);
    AppendClause(&block, header.dwResultStrLen, &header.dwResultClauseLen,
                 &header.dwResultClauseOffset);

    while (block.size() % 4 != 0) block.push_back(0);
    header.dwSize = static_cast<uint32_t>(block.size());
    memcpy(block.data(), &header, sizeof(header));
    return block;
}

}  // namespace

std::vector<uint8_t> BuildCompString(const CompStringContent& content) {
    return Build<char>(content);
}

std::vector<uint8_t> BuildWideCompString(const WideCompStringContent& content) {
    return Build<char16_t>(content);
}
