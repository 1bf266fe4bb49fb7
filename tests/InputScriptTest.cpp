// InputScriptTest: placeholder until its cases land.
