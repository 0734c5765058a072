// quickdemo: the chart in a QML window. 100,000 points, the mouse action
// from a ComboBox, wheel zoom from a CheckBox, labels bound to the pointer's
// world position and to the ranges, and a Back button.
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zkw.Vexa

ApplicationWindow {
    id: window
    title: "quickdemo"
    width: 760
    height: 520
    visible: true

    property string pointerText: "Move the pointer over the chart"

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 8
        spacing: 6

        VexaItem {
            id: chart
            objectName: "chart"
            Layout.fillWidth: true
            Layout.fillHeight: true
            caption: "100,000 points"
            mouseAction: actionBox.currentText || "maPan"
            wheelZoom: wheelBox.checked
            hoverHighlight: true
            toolTip: true

            onMouseMoveInChart: (inChart, x, y) => {
                window.pointerText = inChart ? "x = " + x.toFixed(3) + "   y = " + y.toFixed(3) : "outside the plot"
            }

            ToolTip.visible: hoverText !== ""
            ToolTip.text: hoverText

            Component.onCompleted: {
                // A damped wave with some scatter, handed over in one call.
                const count = 100000
                let xs = new Array(count), ys = new Array(count)
                for (let i = 0; i < count; ++i) {
                    xs[i] = 10 * i / count
                    ys[i] = Math.exp(-0.25 * xs[i]) * Math.sin(3 * xs[i]) + 0.08 * Math.sin(i * 12.9898)
                }
                dataColor = "navy"
                xLow = 0; xHigh = 10; yLow = -1.2; yHigh = 1.2
                addMarks(xs, ys, Mark.Dot)
                redraw()
            }
        }

        RowLayout {
            spacing: 12
            Label { text: "Mouse action" }
            ComboBox {
                id: actionBox
                objectName: "actionBox"
                model: ["maPan", "maZoomWind", "maZoom", "maRubberBand", "maSelectRect", "maNone"]
            }
            CheckBox { id: wheelBox; text: "Wheel zoom"; checked: true }
            Button { text: "Back"; onClicked: chart.rangeHistoryBack() }
        }
        Label { objectName: "pointerLabel"; text: window.pointerText }
        Label {
            objectName: "rangeLabel"
            text: "x " + chart.xLow.toFixed(3) + " .. " + chart.xHigh.toFixed(3)
                  + "    y " + chart.yLow.toFixed(3) + " .. " + chart.yHigh.toFixed(3)
        }
    }
}
