// Reading the job's text files: one error type that names the file, the line and the
// problem, and the splitting both file formats share.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace job {

class FileError : public std::runtime_error {
public:
    FileError(const std::string& file, int line, const std::string& problem);
};

// The lines of a file; throws FileError (line 0) when it cannot be read.
std::vector<std::string> read_lines(const std::string& path);

// The text without surrounding blanks.
std::string trim(const std::string& text);
// Splits at every separator character, trimming each piece.
std::vector<std::string> split(const std::string& text, char separator);
// Splits at runs of blanks.
std::vector<std::string> words(const std::string& text);

// A whole number or a number, or nothing when the text is not exactly one.
bool parse_int(const std::string& text, int& value);
bool parse_number(const std::string& text, double& value);

} // namespace job
