// Whole files as bytes, for suites that check exactly what lies on disk.
#pragma once

#include <string>
#include <vector>

// The bytes of the file at path; empty when there is none or it cannot be read.
std::string ReadBytes(const std::string& path);

// Replaces whatever is at path with a file of exactly these bytes.
void WriteBytes(const std::string& path, const std::string& bytes);

// Writes each line followed by "\r\n", as a caption list is saved.
void WriteCrlfLines(const std::string& path, const std::vector<std::string>& lines);
