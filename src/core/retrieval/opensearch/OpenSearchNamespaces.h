#pragma once

// The XML namespaces of OpenSearch documents, as string literals so that documents written
// in code (tests, benchmarks) can splice them in as well as readers compare with them. They
// all lie under one base address.
#define TRAWLEX_OPENSEARCH_BASE "http://a9.com/-/s" "pec/"
#define TRAWLEX_OPENSEARCH_NS TRAWLEX_OPENSEARCH_BASE "opensearch/1.1/"
#define TRAWLEX_OPENSEARCH_RSS_NS TRAWLEX_OPENSEARCH_BASE "opensearchrss/1.0/"
#define TRAWLEX_OPENSEARCH_DESCRIPTION_1_0_NS TRAWLEX_OPENSEARCH_BASE "opensearchdescription/1.0/"
#define TRAWLEX_OPENSEARCH_PARAMETERS_NS TRAWLEX_OPENSEARCH_BASE "opensearch/extensions/parameters/1.0/"
