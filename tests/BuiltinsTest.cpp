// BuiltinsTest: placeholder until its cases land.
