// Unit ZKW_vexa: the chart component and its model.
//  - chart_item.h: the item record and the kind values;
//  - item_views.h: named views of the item record per kind;
//  - item_store.h: item stores and long-text tables;
//  - data_sharing.h: sharing one item store between charts;
//  - layers.h: plot rectangle, layer transforms, pan limits, range history;
//  - mouse_actions.h: the chart's mouse actions (TChartMouse);
//  - mouse_cursors.h: the numbers of the mouse actions' pointer shapes;
//  - nearest_item.h: the nearest-item search;
//  - scale_props.h: the axis, background and layer-joining property objects;
//  - vexa.h: TCustomVexa and TVexa;
//  - render.h: the paint pipeline, item renderer, grid and text labels.
#pragma once

#include "chart/chart_item.h"
#include "chart/data_sharing.h"
#include "chart/item_store.h"
#include "chart/item_views.h"
#include "chart/layers.h"
#include "chart/mouse_actions.h"
#include "chart/mouse_cursors.h"
#include "chart/nearest_item.h"
#include "chart/render.h"
#include "chart/vexa_export.h"
#include "chart/vexa_paint.h"
#include "chart/scale_props.h"
#include "chart/vexa.h"
