#include "state/app_state.h"

namespace brennic {

AppState& appState() {
    static AppState state;
    return state;
}

}  // namespace brennic
