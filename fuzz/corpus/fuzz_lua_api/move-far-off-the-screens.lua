MoveMouseRelative(-2^40, -2^40)
