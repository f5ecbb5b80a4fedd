// Rewrites one record file over and over, alternating between two contents,
// until it is killed. Used to check that a save interrupted at any moment
// leaves the file whole.
//
//   helper_killsave <target> <first content file> <second content file>
//
// Prints one line after every completed save.

#include "foundation/LineFiles.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4) {
        std::fputs("usage: helper_killsave <target> <first> <second>\n", stderr);
        return 2;
    }
    const QStringList contents[2] = {qm::LoadLineFile(args.at(2)), qm::LoadLineFile(args.at(3))};
    for (unsigned long long round = 0;; ++round) {
        qm::SaveLineFile(args.at(1), contents[round % 2]);
        std::printf("saved %llu\n", round);
        std::fflush(stdout);
    }
}
