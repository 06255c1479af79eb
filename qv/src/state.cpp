#include "state.h"

namespace qv {

State& state() {
    static State instance;
    return instance;
}

} // namespace qv
