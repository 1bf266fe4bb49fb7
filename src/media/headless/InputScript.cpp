// InputScript: placeholder until the script reader lands.
