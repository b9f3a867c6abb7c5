#pragma once

// The XML namespaces the simulator's OpenSearch documents are written in (its own copy: the
// simulator shares no code with the program it stands in for).
#define SIM_OPENSEARCH_BASE "http://a9.com/-/s" "pec/"
#define SIM_OPENSEARCH_NS SIM_OPENSEARCH_BASE "opensearch/1.1/"
#define SIM_OPENSEARCH_PARAMETERS_NS SIM_OPENSEARCH_BASE "opensearch/extensions/parameters/1.0/"
