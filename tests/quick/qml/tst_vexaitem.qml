// VexaItem as a QML program uses it: bindings follow the properties,
// the operations append and report, bad input is refused with a warning.
import QtQuick
import QtTest
import Zkw.Vexa

Item {
    id: root
    width: 420
    height: 320

    VexaItem {
        id: chart
        anchors.fill: parent
        caption: "QML chart"
        mouseAction: "maPan"
        xCaption: "time [" + root.unit + "]"
    }

    // Bound to the item's properties, as an application's labels would be.
    property string rangeText: chart.xLow.toFixed(2) + " .. " + chart.xHigh.toFixed(2)
    property int xLowChanges: 0
    property var lastMove: null
    // A label bound to an axis caption, and a caption bound to the program's state.
    property string unit: "s"
    property string shownYCaption: chart.yCaption

    Connections {
        target: chart
        function onXLowChanged() { root.xLowChanges++ }
        function onMouseMoveInChart(inChart, x, y) { root.lastMove = { inChart: inChart, x: x, y: y } }
    }

    SignalSpy { id: captionSpy; target: chart; signalName: "captionChanged" }
    SignalSpy { id: antialiasedSpy; target: chart; signalName: "antialiasedChanged" }
    SignalSpy { id: zoomPanSpy; target: chart; signalName: "zoomPan" }

    TestCase {
        name: "VexaItem"
        when: windowShown

        function init() {
            chart.clear()
            chart.mouseAction = "maPan"
            chart.xLow = 0; chart.xHigh = 100
            chart.yLow = -50; chart.yHigh = 50
            root.xLowChanges = 0
            captionSpy.clear()
            zoomPanSpy.clear()
        }

        function test_bindingsFollowTheProperties() {
            compare(root.rangeText, "0.00 .. 100.00")
            chart.xLow = 10
            compare(root.rangeText, "10.00 .. 100.00")
            compare(root.xLowChanges, 1)
            chart.caption = "Renamed"
            compare(captionSpy.count, 1)
            chart.chartColor = "#102030"
            compare(chart.chartColor, Qt.color("#102030"))
            chart.wheelZoom = false
            compare(chart.wheelZoom, false)
            // Smooth drawing is bound through to the chart and signalled.
            var smoothBefore = antialiasedSpy.count
            chart.antialiased = true
            compare(chart.antialiased, true)
            compare(antialiasedSpy.count, smoothBefore + 1)
            chart.antialiased = false
        }

        function test_marksAndTheNearestItem() {
            verify(chart.addMarks([10, 20, 30], [0, 10, 20], Mark.FilledSquare))
            verify(chart.addMark(70, -20, Mark.HollowCircle7))
            verify(chart.addLine(0, -50, 100, 50))
            chart.redraw()
            var hit = chart.findNearestItem(21, 11)
            compare(hit.index, 1)
            compare(hit.x, 20)
            compare(hit.y, 10)
            verify(hit.distance >= 0)
            chart.clear()
            compare(chart.findNearestItem(21, 11).index, -1)
        }

        function test_aDragPansAndTheBoundRangeFollows() {
            chart.redraw()
            var before = root.rangeText
            mousePress(chart, 200, 150)
            for (var i = 1; i <= 4; ++i)
                mouseMove(chart, 200 + 15 * i, 150, -1, Qt.LeftButton)
            mouseRelease(chart, 260, 150)
            verify(root.rangeText !== before)
            verify(root.xLowChanges >= 1)
            verify(zoomPanSpy.count >= 1)
            verify(chart.xLow < 0)
            chart.rangeHistoryBack()
        }

        function test_axisCaptionsBindBothWays() {
            compare(chart.xCaption, "time [s]")
            root.unit = "ms"
            compare(chart.xCaption, "time [ms]")
            chart.yCaption = "volts"
            compare(root.shownYCaption, "volts")
        }

        function test_polylinesFromArrays() {
            verify(chart.addPolyline([0, 50, 100], [-20, 30, 0]))
            chart.redraw()
            compare(chart.findNearestItem(49, 31).x, 50)
            ignoreWarning(/addPolyline: 3 x values but 2 y values/)
            verify(!chart.addPolyline([0, 50, 100], [-20, 30]))
            ignoreWarning(/saveImage: scale is nan/)
            verify(!chart.saveImage("unused.png", NaN))
        }

        function test_hoverMovesReportTheWorldPosition() {
            chart.redraw()
            mouseMove(chart, 150, 120)
            verify(root.lastMove !== null)
            verify(root.lastMove.inChart)
        }

        function test_badInputIsRefusedWithAWarning() {
            ignoreWarning(/3 x values but 2 y values/)
            verify(!chart.addMarks([1, 2, 3], [1, 2], Mark.FilledSquare))
            ignoreWarning(/unknown mouse action 'maFly'/)
            chart.mouseAction = "maFly"
            compare(chart.mouseAction, "maPan")
            ignoreWarning(/x is nan/)
            verify(!chart.addMark(NaN, 1, 0))
            compare(chart.findNearestItem(1, 1).index, -1)
        }
    }
}
