#pragma once
// Windows-1252 text and the line rules shared by every file the program reads.
#include <string>
#include <string_view>
#include <vector>

namespace quarvel::documents {

// Characters that Windows-1252 cannot hold become "?".
std::string utf8_para_cp1252(std::string_view utf8);
std::string cp1252_para_utf8(std::string_view bytes);

// CR LF, a lone CR and a lone LF each end a line; a break at the very end
// starts no further line; a NUL byte ends the text.
std::vector<std::string> dividir_linhas(std::string_view bytes);

// The same lines one at a time, as views into the bytes: a file of millions
// of lines costs no string per line.
class LeitorLinhas {
  public:
    explicit LeitorLinhas(std::string_view bytes);
    // The next line into *linha; false at the end of the text.
    bool proxima(std::string_view& linha);

  private:
    std::string_view resto_;
};

// A line of a file quoted in a message, as UTF-8: at most 40 characters,
// then "...", so a 2 MB line never becomes a 2 MB message.
std::string citar_linha(std::string_view bytes);

// Every line followed by CR LF, the last one included.
std::string juntar_linhas_crlf(const std::vector<std::string>& linhas);

} // namespace quarvel::documents
