// CommandLine: placeholder.
