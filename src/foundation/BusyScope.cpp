#include "foundation/BusyScope.h"

namespace qm {

namespace {
BusyScope::Handler g_begin;
BusyScope::Handler g_end;
int g_depth = 0;
} // namespace

BusyScope::BusyScope() {
    if (g_depth++ == 0 && g_begin)
        g_begin();
}

BusyScope::~BusyScope() {
    if (--g_depth == 0 && g_end)
        g_end();
}

void BusyScope::setHandlers(Handler begin, Handler end) {
    g_begin = std::move(begin);
    g_end = std::move(end);
}

int BusyScope::depth() {
    return g_depth;
}

} // namespace qm
