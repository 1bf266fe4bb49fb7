// ShellTest: placeholder until its cases land.
