// Writes 50 MiB to standard output as fast as it can: in lines ("lines"), or as one
// line of progress without a line break ("no-breaks"), or with carriage returns ("progress").
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

int main(int argc, char* argv[])
{
    const std::string mode = argc > 1 ? argv[1] : "lines";
    std::vector<char> block(64 * 1024);
    for (size_t i = 0; i < block.size(); ++i) {
        const size_t column = i % 64;
        char c = char('a' + column % 26);
        if (column == 63)
            c = mode == "lines" ? '\n' : mode == "progress" ? '\r' : 'x';
        block[i] = c;
    }
    const size_t total = 50u << 20;
    for (size_t done = 0; done < total;) {
        const ssize_t put = ::write(STDOUT_FILENO, block.data(), block.size());
        if (put <= 0)
            return 1;
        done += size_t(put);
    }
    return 0;
}
