#pragma once

// Raises the process's soft limit of open descriptors to its hard limit, as every connection
// the server holds takes one (and one more while a file goes out), and returns the soft limit
// then in force.
long RaiseDescriptorLimit();

// The soft limit of open descriptors now.
long DescriptorLimit();
