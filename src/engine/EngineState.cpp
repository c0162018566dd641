#include "EngineState.h"

EngineState& EngineState::instance()
{
    static EngineState state;
    return state;
}
