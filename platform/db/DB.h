#pragma once
// The dataset layer in one include: fields, datasets, data sources and links,
// the in-memory and client datasets, and the provider.
#include "DBTypes.h"
#include "FieldDefs.h"
#include "Field.h"
#include "DataSet.h"
#include "DataSource.h"
#include "MemDataSet.h"
#include "ClientDataSet.h"
#include "Provider.h"
