#include "ManPage.h"

#include <fstream>
#include <iostream>
#include <iterator>

// quarnel-manpage SECTION SOURCE MANUAL [TEXT]: the manual page of the reference page in TEXT
// (or on standard input), on standard output.
int main(int argc, char* argv[])
{
    if (argc < 4 || argc > 5) {
        std::cerr << "Usage: quarnel-manpage SECTION SOURCE MANUAL [TEXT]\n";
        return 2;
    }
    std::ifstream file;
    if (argc == 5) {
        file.open(argv[4], std::ios::binary);
        if (!file) {
            std::cerr << "quarnel-manpage: cannot read " << argv[4] << '\n';
            return 2;
        }
    }
    std::istream& in = argc == 5 ? file : std::cin;
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::cout << HelpTextToManPage(text, {argv[1], argv[2], argv[3]});
    return std::cout.flush() ? 0 : 2;
}
